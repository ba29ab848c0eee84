#include "cli/argument_paths.h"
#include "cli/cli_options.h"
#include "cli/conversion.h"
#include "render/font_fallback_warnings.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

#include <atomic>

#include <signal.h>
#include <unistd.h>

namespace {

// Set by SIGINT and SIGTERM: the conversion stops after the cues being drawn and leaves the
// files of earlier runs as they were.
std::atomic<bool> stopRequested = false;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void RequestStop(int /*signal*/) {
    stopRequested.store(true);
}

void StopOnInterruptAndTerminate() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    StopOnInterruptAndTerminate();
    // Fonts need a GUI application, but the converter never shows a window: it runs the same
    // with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Without a session Qt falls back to a runtime folder of its own and warns about it.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime =
            QDir::tempPath() + QStringLiteral("/runtime-marvoxa-%1").arg(getuid());
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    // Qt sees only the program name: every argument is the converter's, also "-platform".
    int qtArgumentCount = 1;
    char* qtArguments[] = {argv[0], nullptr};
    QGuiApplication app(qtArgumentCount, qtArguments);
    marvoxa::QuietFontFallbackWarnings();
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QString programName = QFileInfo(QFile::decodeName(argv[0])).fileName();
    marvoxa::ArgumentPaths paths;
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << paths.text(argv[i]);
    }
    auto options = marvoxa::ParseConversionOptions(arguments, QFontDatabase::families());
    if (!options) {
        err << programName << ": " << options.error().message << Qt::endl;
        return marvoxa::kExitUsage;
    }
    if (options.value().showHelp) {
        out << marvoxa::UsageText(programName);
        return marvoxa::kExitDone;
    }
    if (options.value().showVersion) {
        out << marvoxa::VersionText();
        return marvoxa::kExitDone;
    }
    marvoxa::ConversionOptions& conversion = options.value();
    if (const auto folder = paths.originalFolder(conversion.subtitlePath);
        folder && conversion.outputFolder.isEmpty()) {
        conversion.outputFolder = *folder;
    }
    return marvoxa::RunConversion(conversion, out, err, [] { return stopRequested.load(); });
}
