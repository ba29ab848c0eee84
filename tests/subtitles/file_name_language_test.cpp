#include "subtitles/file_name_language.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

TEST(FileNameLanguage, ReadsTheTagAsMediaServersDo) {
    const struct {
        const char* path;
        const char* language;  // nullptr: none
    } cases[] = {
        {"film.es.srt", "es"},
        {"film.spa.srt", "es"},      // ISO 639-2/T
        {"film.fre.srt", "fr"},      // ISO 639-2/B
        {"film.Spanish.srt", "es"},  // the English name, any case
        {"film.GERMAN.vtt", "de"},
        {"film.pt-BR.srt", "pt"},  // a region after the language
        {"film.zh_Hant.ass", "zh"},
        {"/a.b/The.Film.2019.el.srt", "el"},
        {"film.de.forced.srt", "de"},  // flags after the language are passed over
        {"film.en.sdh.srt", "en"},
        {"film.srt", nullptr},  // no tag
        {"es.srt", nullptr},    // the film's own name, not a tag
        {"film.1999.srt", nullptr},
        {"film.xx.srt", nullptr},
        {"film.und.srt", nullptr},  // a code with no two-letter form
        {"film.Matrix.forced.srt", nullptr},
        {"film.es.1999.srt", nullptr},  // only the last tag is the language
    };
    for (const auto& c : cases) {
        const std::optional<QString> found = LanguageFromFileName(QLatin1String(c.path));
        if (c.language == nullptr) {
            EXPECT_FALSE(found.has_value()) << c.path << " gave " << found->toStdString();
        } else {
            EXPECT_EQ(found.value_or(QStringLiteral("none")), QLatin1String(c.language)) << c.path;
        }
    }
}

}  // namespace
}  // namespace marvoxa
