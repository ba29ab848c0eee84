#include "cli/cli_options.h"

#include "common/version.h"
#include "export/vobsub_index.h"
#include "pgs/pgs_format.h"
#include "render/wide_drawing_choice.h"
#include "subtitles/media_reader.h"

#include <QMap>

#include <algorithm>

namespace marvoxa {

namespace {

// A DVD title set holds no more subtitle streams.
constexpr int kMostStreams = 32;

Error UsageError(const QString& message) {
    return Error{ErrorKind::Format, message};
}

QString Quoted(const QStringList& values) {
    return QLatin1Char('"') + values.join(QLatin1String("\", \"")) + QLatin1Char('"');
}

std::optional<int> IntegerIn(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// Applies one option with its value; an error says what the option accepts.
Status ApplyOption(const QString& name, const QString& value, const QStringList& fonts,
                   ConversionOptions& options) {
    RenderSettings& settings = options.settings;
    const auto notOneOf = [&](const QStringList& allowed) {
        return UsageError(
            QStringLiteral("--%1 takes one of %2, not \"%3\".").arg(name, Quoted(allowed), value));
    };
    const auto notInRange = [&](int lowest, int highest) {
        return UsageError(QStringLiteral("--%1 takes a number from %2 to %3, not \"%4\".")
                              .arg(name)
                              .arg(lowest)
                              .arg(highest)
                              .arg(value));
    };
    const auto paletteEntry = [&](std::optional<int>& role) -> Status {
        role = IntegerIn(value, 0, 15);
        if (!role) {
            return UsageError(QStringLiteral("--%1 takes a palette entry from 0 to 15, not \"%2\".")
                                  .arg(name, value));
        }
        return Ok();
    };

    if (name == QLatin1String("ifo")) {
        options.ifoPath = value;
    } else if (name == QLatin1String("output-dir")) {
        options.outputFolder = value;
    } else if (name == QLatin1String("standard")) {
        if (value != QLatin1String("pal") && value != QLatin1String("ntsc")) {
            return notOneOf({QStringLiteral("pal"), QStringLiteral("ntsc")});
        }
        settings.standard =
            value == QLatin1String("pal") ? VideoStandard::Pal : VideoStandard::Ntsc;
    } else if (name == QLatin1String("font")) {
        if (value != QLatin1String("Arial") && !fonts.contains(value)) {
            return UsageError(
                QStringLiteral("--font takes \"Arial\" or an installed font family, not \"%1\". "
                               "List the installed families with fc-list : family.")
                    .arg(value));
        }
        settings.fontName = value;
    } else if (name == QLatin1String("size")) {
        if (!FontSizeNames().contains(value)) {
            return notOneOf(FontSizeNames());
        }
        settings.fontSize = value.toInt();
    } else if (name == QLatin1String("charset")) {
        if (!CharsetNames().contains(value)) {
            return notOneOf(CharsetNames());
        }
        settings.charset = CharsetFromName(value);
    } else if (name == QLatin1String("style")) {
        if (!StyleNames().contains(value)) {
            return notOneOf(StyleNames());
        }
        settings.style = StyleFromName(value);
    } else if (name == QLatin1String("outline")) {
        if (!OutlineWidthNames().contains(value)) {
            return notOneOf(OutlineWidthNames());
        }
        settings.outlineWidth = value.toInt();
    } else if (name == QLatin1String("align")) {
        if (!AlignNames().contains(value)) {
            return notOneOf(AlignNames());
        }
        settings.align = value;
    } else if (name == QLatin1String("bottom-offset")) {
        const auto offset = IntegerIn(value, kBottomOffsetMin, kBottomOffsetMax);
        if (!offset) {
            return notInRange(kBottomOffsetMin, kBottomOffsetMax);
        }
        settings.bottomOffset = *offset;
    } else if (name == QLatin1String("line-overlap")) {
        const auto overlap = IntegerIn(value, kLineOverlapMin, kLineOverlapMax);
        if (!overlap) {
            return notInRange(kLineOverlapMin, kLineOverlapMax);
        }
        settings.lineOverlap = EvenLineOverlap(*overlap);
    } else if (name == QLatin1String("aspect")) {
        const std::optional<AspectChoice> aspect = AspectChoiceFromName(value);
        if (!aspect) {
            return notOneOf(AspectChoiceNames());
        }
        options.aspect = *aspect;
    } else if (name == QLatin1String("markup")) {
        const QStringList modes = MarkupModeNames();
        if (!modes.contains(value)) {
            return notOneOf(modes);
        }
        settings.text.markup = static_cast<MarkupMode>(modes.indexOf(value));
    } else if (name == QLatin1String("antialias")) {
        return paletteEntry(options.antialias);
    } else if (name == QLatin1String("outline-color")) {
        return paletteEntry(options.outline);
    } else if (name == QLatin1String("text")) {
        return paletteEntry(options.text);
    } else if (name == QLatin1String("background")) {
        return paletteEntry(options.background);
    } else if (name == QLatin1String("also")) {
        const QStringList allowed{QStringLiteral("vobsub"), QStringLiteral("dvdauthor"),
                                  QStringLiteral("pgs")};
        for (const QString& output : value.split(QLatin1Char(','))) {
            if (!allowed.contains(output)) {
                return UsageError(
                    QStringLiteral("--also takes %1 or several, separated by commas, not \"%2\".")
                        .arg(Quoted(allowed), value));
            }
            options.extraOutputs.vobSub = options.extraOutputs.vobSub || output == allowed[0];
            options.extraOutputs.dvdauthor = options.extraOutputs.dvdauthor || output == allowed[1];
            options.extraOutputs.pgs = options.extraOutputs.pgs || output == allowed[2];
        }
    } else if (name == QLatin1String("pgs-size")) {
        const std::optional<QSize> size = PgsSizeFromName(value);
        if (!size) {
            return notOneOf(PgsSizeNames());
        }
        options.extraOutputs.pgsSize = *size;
    } else if (name == QLatin1String("pgs-rate")) {
        const std::optional<quint8> code = PgsRateCodeFromName(value);
        if (!code) {
            return notOneOf(PgsRateNames());
        }
        options.extraOutputs.pgsRateCode = *code;
    } else if (name == QLatin1String("title")) {
        const auto title = IntegerIn(value, 1, 99);
        if (!title) {
            return notInRange(1, 99);
        }
        options.title = *title;
    } else if (name == QLatin1String("track")) {
        const auto track = IntegerIn(value, 1, 9999);
        if (!track) {
            return notInRange(1, 9999);
        }
        options.track = *track;
    } else if (name == QLatin1String("language")) {
        // A list in file order; an empty entry leaves that file's language to its name.
        const QStringList languages = value.split(QLatin1Char(','));
        for (const QString& language : languages) {
            if (!IsLanguageCode(language) && !(language.isEmpty() && languages.size() > 1)) {
                return UsageError(
                    QStringLiteral("--language takes a two-letter language code in lower case, "
                                   "such as \"en\", or one for each subtitle file separated by "
                                   "commas, such as \"fr,de\", not \"%1\".")
                        .arg(value));
            }
        }
        options.languages = languages;
        if (!languages.front().isEmpty()) {
            options.extraOutputs.language = languages.front();
        }
    } else {
        return UsageError(QStringLiteral("Unknown option --%1. See --help.").arg(name));
    }
    return Ok();
}

}  // namespace

Result<ConversionOptions> ParseConversionOptions(const QStringList& arguments,
                                                 const QStringList& installedFonts) {
    ConversionOptions options;
    QStringList positional;
    bool standardGiven = false;
    bool pgsGiven = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        // After "--" everything is a file name, also "--x.srt"; a lone "-" is one too.
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) ||
            argument == QLatin1String("-")) {
            positional << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.showHelp = true;
            return options;
        }
        if (argument == QLatin1String("--version")) {
            options.showVersion = true;
            return options;
        }
        if (!argument.startsWith(QLatin1String("--"))) {
            return UsageError(QStringLiteral("Unknown option %1. See --help.").arg(argument));
        }
        QString name = argument.mid(2);
        // Switches take no value.
        if (name == QLatin1String("wrap")) {
            options.settings.text.wrap = true;
            continue;
        }
        if (name == QLatin1String("all-lines")) {
            options.settings.text.allLines = true;
            continue;
        }
        if (name == QLatin1String("forced")) {
            options.forced = true;
            continue;
        }
        if (name == QLatin1String("into-dvd")) {
            options.intoDvd = true;
            continue;
        }
        QString value;
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return UsageError(QStringLiteral("--%1 needs a value. See --help.").arg(name));
        }
        standardGiven = standardGiven || name == QLatin1String("standard");
        pgsGiven = pgsGiven || name.startsWith(QLatin1String("pgs-"));
        if (Status applied = ApplyOption(name, value, installedFonts, options); !applied) {
            return applied.error();
        }
    }
    if (positional.isEmpty()) {
        return UsageError(QStringLiteral("Name the subtitle file to convert. See --help."));
    }
    if (options.languages.size() > positional.size()) {
        return UsageError(QStringLiteral("--language names %1 languages for %2 subtitle files.")
                              .arg(options.languages.size())
                              .arg(positional.size()));
    }
    if (positional.size() > kMostStreams) {
        return UsageError(
            QStringLiteral("A DVD holds at most %1 subtitle streams; %2 subtitle files are named.")
                .arg(kMostStreams)
                .arg(positional.size()));
    }
    if (standardGiven && !options.ifoPath.isEmpty()) {
        return UsageError(QStringLiteral(
            "--standard cannot be used with --ifo: the IFO decides the video standard."));
    }
    if (options.intoDvd && options.ifoPath.isEmpty()) {
        return UsageError(
            QStringLiteral("--into-dvd needs --ifo naming the VTS_xx_0.IFO of the "
                           "title set, inside the DVD's VIDEO_TS folder."));
    }
    if (options.title != 0 && !options.intoDvd) {
        return UsageError(QStringLiteral("--title goes with --into-dvd."));
    }
    if (options.track != 0 && std::none_of(positional.begin(), positional.end(), IsMediaFileName)) {
        return UsageError(
            QStringLiteral("--track goes with a video container such as .mkv, .mp4 "
                           "or .webm, whose subtitle tracks it chooses from."));
    }
    if (pgsGiven && !options.extraOutputs.pgs) {
        return UsageError(QStringLiteral("--pgs-size and --pgs-rate go with --also pgs."));
    }
    options.subtitlePath = positional.takeFirst();
    options.moreSubtitlePaths = positional;
    return options;
}

namespace {

// Breaks every line longer than a terminal's 80 columns at spaces; the rest of an option's
// text goes on under its description column.
QString FitTo80Columns(const QString& text) {
    constexpr int kColumns = 80;
    constexpr int kDescriptionColumn = 24;
    QStringList fitted;
    for (QString line : text.split(QLatin1Char('\n'))) {
        const QString indent(line.startsWith(QLatin1String("  ")) ? kDescriptionColumn : 0,
                             QLatin1Char(' '));
        while (line.size() > kColumns) {
            qsizetype cut = line.lastIndexOf(QLatin1Char(' '), kColumns);
            if (cut <= indent.size()) {
                break;  // one word longer than a line
            }
            fitted << line.left(cut);
            line = indent + line.mid(cut + 1);
        }
        fitted << line;
    }
    return fitted.join(QLatin1Char('\n'));
}

}  // namespace

QString UsageText(const QString& programName) {
    const auto list = [](const QStringList& values) { return values.join(QLatin1String(", ")); };
    return FitTo80Columns(
        QStringLiteral(
            "Usage: %1 [options] [--] SUBTITLE [SUBTITLE...]\n"
            "Turns an SRT, WebVTT, ASS/SSA, SUB or TXT subtitle file, or a text subtitle\n"
            "track of an MKV, MP4, WebM, MOV or TS video, into a DVD subpicture stream\n"
            "(Generated.sup) and a help text (Marvoxa_Help_File.txt). Several files make\n"
            "one stream each, in the order given: Generated.LANG.sup (a language named\n"
            "twice: Generated.LANG.2.sup), one VobSub pair with a track a stream, one\n"
            "spumux script a stream with Generated_dvdauthor.xml, and with --into-dvd\n"
            "every stream in one copy.\n"
            "\n"
            "Subtitle:\n"
            "  --track N             subtitle track N of a video container (.mkv .mka .mks\n"
            "                        .mp4 .m4v .mov .webm .ts), counting from 1 as ffprobe\n"
            "                        does (default: its first text track); every video\n"
            "                        given\n"
            "\n"
            "Palette:\n"
            "  --ifo PATH            read the palette and video standard from a title set IFO\n"
            "                        (default: none, the generic grey palette stands in)\n"
            "  --standard pal|ntsc   frame size without an IFO: 720x576 or 720x480 (default "
            "pal)\n"
            "  --antialias N         palette entry 0-15 for the antialias colour\n"
            "  --outline-color N     palette entry 0-15 for the outline colour\n"
            "  --text N              palette entry 0-15 for the text colour\n"
            "  --background N        palette entry 0-15 for the background\n"
            "                        (default: chosen from the IFO's greys, or 1, 0, 3, 0 with "
            "the generic palette)\n"
            "\n"
            "Style:\n"
            "  --font NAME           Arial or an installed font family (default Arial)\n"
            "  --size N              one of %2 (default 22)\n"
            "  --charset NAME        code page of non-UTF-8 files: %3 (default DEFAULT)\n"
            "  --style NAME          one of %4 (default Normal)\n"
            "  --outline N           outline width in pixels: %5 (default 3)\n"
            "  --align NAME          one of %6 (default center)\n"
            "  --bottom-offset N     pixels above the bottom, %7 to %8 (default 30)\n"
            "  --line-overlap N      pixels the second line moves up, %9 to %10, odd values "
            "move to the next even one (default -4)\n"
            "  --aspect auto|4:3|16:9  the screen the subtitles are drawn for: 16:9 draws\n"
            "                        them 3/4 as wide, for an anamorphic picture that players\n"
            "                        stretch by 4/3; 4:3 draws them with square pixels\n"
            "                        (default auto: 16:9 when the IFO's video is 16:9)\n"
            "\n"
            "Text:\n"
            "  --markup MODE         text: draw tags such as <i> as they are written\n"
            "                        (default);\n"
            "                        strip: remove SRT tags, {\\an8} blocks and MicroDVD codes\n"
            "                        such as {y:i}, and decode entities such as &amp;;\n"
            "                        {\\an1} to {\\an9} place a subtitle as on a keypad (7 top\n"
            "                        left, 5 centre, 3 bottom right) and \\N breaks a line;\n"
            "                        render: as strip, and draw <i>, <b>, <u>, <s> and\n"
            "                        {y:...} text in its style (font colours are ignored)\n"
            "  --wrap                break lines too wide for the picture at spaces into\n"
            "                        balanced lines instead of refusing the file\n"
            "  --all-lines           draw every line of a subtitle, stacked upwards from the\n"
            "                        bottom line (default: the first two, with a notice)\n"
            "\n"
            "Output:\n"
            "  --output-dir DIR      write the files there, made when missing (default: the\n"
            "                        subtitle's folder)\n"
            "  --also LIST           also write vobsub (Generated.idx, Generated.sub),\n"
            "                        dvdauthor (Generated_spumux.xml and its pictures) and/or\n"
            "                        pgs (Generated_pgs.sup, Blu-ray presentation graphics\n"
            "                        drawn smoothly at HD size), e.g. vobsub,dvdauthor\n"
            "  --pgs-size WxH        video size of the pgs stream: %11\n"
            "                        (default 1920x1080)\n"
            "  --pgs-rate FPS        its frame rate: %12 (default: a SUB/TXT\n"
            "                        file's rate, otherwise 23.976)\n"
            "  --language CODE,...   language of the subtitle stream they name (default en);\n"
            "                        with several files one a file, in order, e.g. fr,de;\n"
            "                        a file left out takes its name's tag (film.es.srt,\n"
            "                        film.spa.srt, film.Spanish.srt, film.pt-BR.srt)\n"
            "  --forced              mark every subtitle forced: players show it even when\n"
            "                        subtitles are off (translated signs, foreign dialogue);\n"
            "                        with several files, those of every stream\n"
            "  --into-dvd            also write OUTPUT-DIR/VIDEO_TS: a copy of the DVD of\n"
            "                        --ifo with the subtitles as one more stream\n"
            "                        (--language) of a title, several files as several\n"
            "                        streams in one pass, their colours written into the\n"
            "                        copy's palette; subtitle times count from the title's\n"
            "                        start, in real video time\n"
            "  --title N             that title, numbered as players number the disc's titles\n"
            "                        (default: the title set's longest)\n"
            "  -h, --help            show this text\n"
            "  --version             show the version\n"
            "  --                    ends the options: what follows is the file name, even "
            "if it begins with -\n"
            "\n"
            "Exit status: 0 done, 1 input refused or a file could not be read or written,\n"
            "2 wrong usage.\n")
            .arg(programName, list(FontSizeNames()), list(CharsetNames()), list(StyleNames()),
                 list(OutlineWidthNames()), list(AlignNames()))
            .arg(kBottomOffsetMin)
            .arg(kBottomOffsetMax)
            .arg(kLineOverlapMin)
            .arg(kLineOverlapMax)
            .arg(list(PgsSizeNames()), list(PgsRateNames())));
}

QString VersionText() {
    return QStringLiteral("marvoxa-cli %1\n").arg(kVersion);
}

}  // namespace marvoxa
