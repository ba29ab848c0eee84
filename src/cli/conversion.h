#pragma once

#include "cli/cli_options.h"

#include <QTextStream>

#include <functional>

namespace marvoxa {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Does what the window does from loading the palette and the subtitle to the generated files,
// reporting on out and err. Returns the exit status. When stopRequested answers true the
// conversion stops after the cues being drawn and writes nothing (status kExitRefused).
int RunConversion(const ConversionOptions& options, QTextStream& out, QTextStream& err,
                  const std::function<bool()>& stopRequested = {});

}  // namespace marvoxa
