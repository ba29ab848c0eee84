// Stopping "Generate Sup" in the main window: the button reads "Cancel", Escape, and closing
// the window all stop after the cue in hand, write nothing and keep the files of before.

#include "main_window_fixture.h"
#include "test_files.h"

#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace marvoxa::test {
namespace {

const QString kCancelledMessage = QStringLiteral(
    "Generation cancelled. Nothing was written: files generated before are unchanged.");

class GenerationCancel : public MainWindowTest {
protected:
    void SetUp() override {
        tickNoIfo();
        QList<QPair<QString, QString>> cues;
        for (int i = 0; i < 40; ++i) {  // the fixture's SRT times stop at 99 seconds
            cues.append({QStringLiteral("Cue %1").arg(i), QStringLiteral("second line")});
        }
        loadSubtitle(QStringLiteral("movie.srt"), SrtBytes(cues));
        ASSERT_TRUE(form_->subsLoaded());
        prompts_.takeMessages();
        writeFile(QStringLiteral("Generated.sup"), "earlier stream");
        writeFile(QStringLiteral("Marvoxa_Help_File.txt"), "earlier help");
    }

    // Runs generation, doing `act` once when the bar reaches the third cue.
    void generateAndAtThirdCue(const std::function<void()>& act) {
        QObject::connect(c().ProgressBar1, &QProgressBar::valueChanged, [&, act](int value) {
            if (value == 3) {
                seenButton_ =
                    QStringLiteral("%1 %2").arg(c().Button3->text()).arg(c().Button3->isEnabled());
                act();
            }
            lastValue_ = value;
        });
        c().Button3->click();
    }

    void expectOldFilesKept() {
        EXPECT_EQ(ReadFile(dir_.filePath(QStringLiteral("Generated.sup"))), "earlier stream");
        EXPECT_EQ(ReadFile(dir_.filePath(QStringLiteral("Marvoxa_Help_File.txt"))), "earlier help");
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
        EXPECT_EQ(c().Button3->text(), QStringLiteral("Generate Sup"));
        EXPECT_FALSE(form_->generating());
    }

    QString seenButton_;
    int lastValue_ = 0;
};

TEST_F(GenerationCancel, TheButtonReadsCancelWhileGeneratingAndStopsIt) {
    generateAndAtThirdCue([&] { c().Button3->click(); });
    EXPECT_EQ(seenButton_, QStringLiteral("Cancel 1"));
    EXPECT_EQ(lastValue_, 3);  // stopped after the cue in hand
    EXPECT_EQ(prompts_.takeMessages(), QStringList{kCancelledMessage});
    expectOldFilesKept();
    EXPECT_TRUE(c().Button2->isEnabled());
}

TEST_F(GenerationCancel, EscapeStopsIt) {
    generateAndAtThirdCue([&] { QTest::keyClick(c().Button3, Qt::Key_Escape); });
    EXPECT_EQ(lastValue_, 3);
    EXPECT_EQ(prompts_.takeMessages(), QStringList{kCancelledMessage});
    expectOldFilesKept();
}

TEST_F(GenerationCancel, ClosingAsksThenStopsAndClosesOnYes) {
    form_->show();
    generateAndAtThirdCue([&] { form_->close(); });
    EXPECT_EQ(prompts_.takeMessages(), QStringList{kStopGeneratingQuestion});
    EXPECT_FALSE(form_->isVisible());
    expectOldFilesKept();
}

TEST_F(GenerationCancel, ClosingAnsweredNoGoesOnAndKeepsTheWindow) {
    form_->show();
    prompts_.yesAnswer = false;
    generateAndAtThirdCue([&] { form_->close(); });
    const QStringList shown = prompts_.takeMessages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], QString(kStopGeneratingQuestion));
    EXPECT_TRUE(shown[1].startsWith(QStringLiteral("All Done !!! (Case : No Ifo)")));
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(lastValue_, 39);
    EXPECT_NE(ReadFile(dir_.filePath(QStringLiteral("Generated.sup"))), "earlier stream");
}

}  // namespace
}  // namespace marvoxa::test
