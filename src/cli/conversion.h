#pragma once

#include "cli/cli_options.h"

#include <QTextStream>

namespace marvoxa {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Does what the window does from loading the palette and the subtitle to the generated files,
// reporting on out and err. Returns the exit status.
int RunConversion(const ConversionOptions& options, QTextStream& out, QTextStream& err);

}  // namespace marvoxa
