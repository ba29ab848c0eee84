#include "subtitles/cue_notices.h"

#include "render/missing_glyphs.h"
#include "render/script_faces.h"
#include "render/subtitle_font.h"
#include "subtitles/cue_lines.h"
#include "subtitles/cue_time.h"
#include "subtitles/display_events.h"

#include <QFontDatabase>

namespace marvoxa {

namespace {

QString CueName(size_t index, const Cue& cue) {
    return QStringLiteral("subtitle %1 at %2").arg(index + 1).arg(FormatCueTime(cue.startMs));
}

// "subtitle 2 at 00:00:03,000, character U+0928 (Devanagari)"; a character of no one script
// goes without the name.
QString MissingCharacterName(const QString& cueName, char32_t character) {
    const QString code =
        QString::number(static_cast<uint>(character), 16).toUpper().rightJustified(4, u'0');
    const QString script = ScriptName(QChar::script(character));
    return QStringLiteral("%1, character U+%2").arg(cueName, code) +
           (script.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(script));
}

// " To draw them, install fonts-noto-core." for the packages that bring the faces these scripts
// lack; nothing when their faces are installed, so that the glyph itself is missing, or when no
// package has one.
QString PackageAdvice(const QList<QChar::Script>& scripts) {
    QStringList packages;
    for (const QChar::Script script : scripts) {
        const ScriptFace face = FaceForScript(script);
        if (!face.package.isEmpty() && !QFontDatabase::hasFamily(face.family) &&
            !packages.contains(face.package)) {
            packages.append(face.package);
        }
    }
    if (packages.isEmpty()) {
        return {};
    }
    const QString last = packages.takeLast();
    return QStringLiteral(" To draw them, install %1.")
        .arg(packages.isEmpty()
                 ? last
                 : packages.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
}

}  // namespace

std::optional<QString> ExtraLinesNotice(const CueList& cueList, const RenderSettings& settings) {
    if (settings.text.allLines) {
        return std::nullopt;
    }
    qsizetype count = 0;
    QString first;
    for (size_t index = 0; index < cueList.cues.size(); ++index) {
        const Cue& cue = cueList.cues[index];
        if (DrawnCueLines(cueList, index, settings).count > 2 && count++ == 0) {
            first = CueName(index, cue);
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    return (count == 1 ? QStringLiteral("1 subtitle has more than two lines; only its first two "
                                        "are drawn: %1.")
                             .arg(first)
                       : QStringLiteral("%1 subtitles have more than two lines; only their first "
                                        "two are drawn. The first is %2.")
                             .arg(count)
                             .arg(first)) +
           QStringLiteral(" To keep them, draw all lines (Options..., or --all-lines).");
}

std::optional<QString> UndrawableCharactersNotice(const CueList& cueList,
                                                  const RenderSettings& settings) {
    const QFont font = SubtitleFont(settings);
    qsizetype count = 0;
    // The first cue of each script that misses glyphs, in the order the scripts come.
    QList<QChar::Script> scripts;
    QStringList firsts;
    for (size_t index = 0; index < cueList.cues.size(); ++index) {
        char32_t missing = 0;
        for (const StyledLine& line : DrawnCueLines(cueList, index, settings).drawn) {
            if ((missing = FirstMissingGlyph(font, line)) != 0) {
                break;
            }
        }
        if (missing == 0) {
            continue;
        }
        ++count;
        const auto script = QChar::script(missing);
        if (!scripts.contains(script)) {
            scripts.append(script);
            firsts.append(MissingCharacterName(CueName(index, cueList.cues[index]), missing));
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    const QString others = firsts.size() == 1
                               ? QString()
                               : QStringLiteral(" The first in each other script: %1.")
                                     .arg(firsts.mid(1).join(QStringLiteral("; ")));
    const QString advice = PackageAdvice(scripts);
    return (count == 1 ? QStringLiteral("1 subtitle holds characters that no installed font can "
                                        "draw; they show as empty boxes: %1.")
                             .arg(firsts.front())
                       : QStringLiteral("%1 subtitles hold characters that no installed font can "
                                        "draw; they show as empty boxes. The first is %2.")
                             .arg(count)
                             .arg(firsts.front())) +
           others + advice;
}

std::optional<QString> OverlappingCuesNotice(const CueList& cueList) {
    const OverlappingCues overlapping = FindOverlappingCues(cueList);
    if (overlapping.count == 0) {
        return std::nullopt;
    }
    return QStringLiteral(
               "%1 subtitles overlap others in time; they are shown together, each "
               "later one above the earlier ones. The first is %2.")
        .arg(overlapping.count)
        .arg(CueName(overlapping.first, cueList.cues[overlapping.first]));
}

}  // namespace marvoxa
