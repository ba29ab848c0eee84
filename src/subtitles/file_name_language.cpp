#include "subtitles/file_name_language.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace marvoxa {

namespace {

// Tags that media servers allow beside the language.
bool IsFlagTag(const QString& tag) {
    static const QStringList flags{
        QStringLiteral("forced"), QStringLiteral("sdh"),     QStringLiteral("cc"),
        QStringLiteral("hi"),     QStringLiteral("default"), QStringLiteral("full"),
    };
    return flags.contains(tag, Qt::CaseInsensitive);
}

QLocale::Language LanguageByEnglishName(const QString& tag) {
    for (int value = QLocale::AnyLanguage + 1; value <= QLocale::LastLanguage; ++value) {
        const auto language = static_cast<QLocale::Language>(value);
        if (QLocale::languageToString(language).compare(tag, Qt::CaseInsensitive) == 0) {
            return language;
        }
    }
    return QLocale::AnyLanguage;
}

std::optional<QString> LanguageOfTag(const QString& tag) {
    // "pt-BR", "pt_BR", "zh-Hans": the language is the first subtag.
    const QString primary = tag.section(QRegularExpression(QStringLiteral("[-_]")), 0, 0);
    QLocale::Language language = QLocale::AnyLanguage;
    if (primary.size() == 2 || primary.size() == 3) {
        // ISO 639-3 is left out: its thousands of codes match too many words of film names.
        language =
            QLocale::codeToLanguage(primary.toLower(), QLocale::ISO639Part1 | QLocale::ISO639Part2);
    }
    if (language == QLocale::AnyLanguage && primary == tag) {
        language = LanguageByEnglishName(tag);
    }
    if (language == QLocale::AnyLanguage) {
        return std::nullopt;
    }
    const QString code = QLocale::languageToCode(language, QLocale::ISO639Part1);
    if (code.size() != 2) {
        return std::nullopt;
    }
    return code;
}

}  // namespace

std::optional<QString> LanguageFromFileName(const QString& path) {
    // The first part is the film's own name, never a tag.
    const QStringList parts = QFileInfo(path).completeBaseName().split(QLatin1Char('.'));
    for (qsizetype i = parts.size() - 1; i >= 1; --i) {
        if (IsFlagTag(parts[i])) {
            continue;
        }
        return LanguageOfTag(parts[i]);
    }
    return std::nullopt;
}

}  // namespace marvoxa
