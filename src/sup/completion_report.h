#pragma once

#include "common/result.h"
#include "palette/palette_state.h"

#include <QString>
#include <QStringList>

namespace marvoxa {

inline constexpr char kStreamFileName[] = "Generated.sup";
inline constexpr char kHelpFileName[] = "Marvoxa_Help_File.txt";

// What the user does in the IFO editor to finish the disc, one text per line. When the stream
// was added to a copy of the DVD, dvdCopyLines (what the copy holds) follow the case's first
// line instead: nothing is left to do in an IFO editor.
QStringList HelpLines(PaletteCase paletteCase, const QStringList& dvdCopyLines = {});

// The message shown when generation is done: the case's lines, an empty line and the two
// files, lines separated by carriage returns.
QString CompletionMessage(PaletteCase paletteCase, const QString& streamPath,
                          const QString& helpPath, const QStringList& dvdCopyLines = {});

// The help file's bytes: the case's lines, two empty lines and the two files, every line
// ended by CR LF.
QByteArray HelpFileContent(PaletteCase paletteCase, const QString& streamPath,
                           const QString& helpPath, const QStringList& dvdCopyLines = {});

// Writes the help file whole or not at all; an earlier file stays intact on failure.
Status WriteHelpFile(PaletteCase paletteCase, const QString& streamPath, const QString& helpPath,
                     const QStringList& dvdCopyLines = {});

// The same for several streams made in one run: every stream file is named, in stream order.
QString CompletionMessage(PaletteCase paletteCase, const QStringList& streamPaths,
                          const QString& helpPath, const QStringList& dvdCopyLines = {});
QByteArray HelpFileContent(PaletteCase paletteCase, const QStringList& streamPaths,
                           const QString& helpPath, const QStringList& dvdCopyLines = {});
Status WriteHelpFile(PaletteCase paletteCase, const QStringList& streamPaths,
                     const QString& helpPath, const QStringList& dvdCopyLines = {});

}  // namespace marvoxa
