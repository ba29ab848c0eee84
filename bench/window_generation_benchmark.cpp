// Drives the main window offscreen as a user would: no IFO, load an SRT of 1,500 two-line
// cues, then "Generate Sup", and prints how long generation took in the window.
// With --grab PATH it also saves a picture of the window halfway through.

#include "bench_cues.h"
#include "ui/form1_controls.h"
#include "ui/prompts.h"
#include "ui/unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace marvoxa;

// Answers the one file dialog with the SRT and keeps the last message.
class BenchmarkPrompts : public Prompts {
public:
    explicit BenchmarkPrompts(QString subtitle) : subtitle_(std::move(subtitle)) {}
    void showMessage(QWidget*, const QString& text) override { lastMessage = text; }
    void showInformation(QWidget*, const QString& text) override { lastMessage = text; }
    bool askYesNo(QWidget*, const QString&) override { return true; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return subtitle_;
    }
    void openUrl(const QUrl&) override {}
    std::optional<OptionsChoices> editOptions(QWidget*, const OptionsChoices&,
                                              const QList<DvdTitleOption>&) override {
        return std::nullopt;
    }
    std::optional<int> chooseSubtitleTrack(QWidget*, const QString&, const QStringList&) override {
        return std::nullopt;
    }

    QString lastMessage;

private:
    QString subtitle_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString subtitle = folder.filePath(QStringLiteral("film.srt"));
    if (!bench::WriteSrt(subtitle, bench::MakeCues(), bench::kCueCount)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(subtitle));
        return 1;
    }

    BenchmarkPrompts prompts(subtitle);
    TForm1 window(prompts);
    window.show();
    QApplication::processEvents();
    const Form1Controls& c = window.controls();
    c.i_dont_have_ifo->click();
    c.Button2->click();
    if (!window.subsLoaded()) {
        std::fprintf(stderr, "the subtitle did not load: %s\n", qPrintable(prompts.lastMessage));
        return 1;
    }

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--grab")) {
        QObject::connect(c.ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
            if (value == bench::kCueCount / 2) {
                window.grab().save(arguments[2]);
            }
        });
    }

    QElapsedTimer timer;
    timer.start();
    c.Button3->click();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (!prompts.lastMessage.startsWith(QStringLiteral("All Done"))) {
        std::fprintf(stderr, "generation failed: %s\n", qPrintable(prompts.lastMessage));
        return 1;
    }
    std::printf("window, %d cues: generated in %.3f s (%.0f cues/s)\n", bench::kCueCount, seconds,
                bench::kCueCount / seconds);
    return 0;
}
