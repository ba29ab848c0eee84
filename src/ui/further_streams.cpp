#include "ui/further_streams.h"

#include "subtitles/file_name_language.h"
#include "subtitles/subtitle_loader.h"

#include <QDir>

namespace marvoxa {

QList<StreamChoice> FilledStreams(const QList<StreamChoice>& rows) {
    QList<StreamChoice> filled;
    for (const StreamChoice& row : rows) {
        if (!row.path.trimmed().isEmpty()) {
            filled.append(row);
        }
    }
    return filled;
}

Result<std::vector<FurtherStream>> LoadFurtherStreams(const QList<StreamChoice>& streams,
                                                      MarkupMode markup) {
    std::vector<FurtherStream> loaded;
    for (const StreamChoice& stream : streams) {
        QString language = stream.language;
        if (language.isEmpty()) {
            language = LanguageFromFileName(stream.path).value_or(QString());
        }
        if (language.isEmpty()) {
            return Error{ErrorKind::Format,
                         QStringLiteral("The language of %1 is not known: type it beside the "
                                        "file under \"More subtitle streams\" in Options..., or "
                                        "name the file with it, such as film.fr.srt.")
                             .arg(QDir::toNativeSeparators(stream.path))};
        }
        loaded.push_back({stream.path, language, {}});
    }
    for (FurtherStream& stream : loaded) {
        SubtitleLoad load = LoadSubtitleFile(stream.path, markup);
        if (load.error) {
            return Error{load.error->kind, QDir::toNativeSeparators(stream.path) +
                                               QLatin1String(":\r") + load.error->message};
        }
        stream.cueList = std::move(load.cueList);
    }
    return loaded;
}

}  // namespace marvoxa
