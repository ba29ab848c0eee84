#pragma once

#include "common/colour_roles.h"
#include "common/result.h"
#include "export/extra_outputs.h"
#include "render/render_settings.h"
#include "render/wide_drawing_choice.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace marvoxa {

// What the user asked the converter for; defaults are the window's start-up defaults.
struct ConversionOptions {
    QString subtitlePath;
    // Further subtitle files, each a stream of its own after the first, in the order given.
    QStringList moreSubtitlePaths;
    // --language's list, in file order; an empty entry, or one past its end, is taken from the
    // file's name when several files are given.
    QStringList languages;
    // The subtitle track of a video container, counting from 1; 0: its first text track.
    int track = 0;
    QString ifoPath;       // empty: the generic palette stands in
    QString outputFolder;  // empty: the subtitle file's folder
    RenderSettings settings;
    // Whether settings.wide is set: by the IFO's video, or as the user says.
    AspectChoice aspect = AspectChoice::FromIfo;
    // Palette entries that replace the automatic or generic choice of a role.
    std::optional<int> antialias;
    std::optional<int> outline;
    std::optional<int> text;
    std::optional<int> background;
    // Outputs written besides Generated.sup and the help file.
    ExtraOutputChoices extraOutputs;
    // Every subtitle shown even when the player's subtitles are off.
    bool forced = false;
    // A copy of the DVD of the IFO, with the subtitles as one more stream of a title, goes to
    // the output folder's VIDEO_TS.
    bool intoDvd = false;
    int title = 0;  // the disc's title number; 0: the title set's longest
    bool showHelp = false;
    bool showVersion = false;
};

// Parses the arguments (without the program name). The error message names the option and
// what it accepts.
Result<ConversionOptions> ParseConversionOptions(const QStringList& arguments,
                                                 const QStringList& installedFonts);

QString UsageText(const QString& programName);

// One line naming the converter and its release, as --version prints it.
QString VersionText();

}  // namespace marvoxa
