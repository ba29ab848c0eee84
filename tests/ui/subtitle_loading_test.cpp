// Loading a subtitle file in the main window: the gate, the messages, the line width check and
// the flags it leaves.

#include "main_window_fixture.h"
#include "render/subtitle_font.h"
#include "tool_run.h"
#include "ui/subtitle_track_choice.h"

#include <QComboBox>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace marvoxa::test {
namespace {

using namespace Qt::StringLiterals;

const QString kLoadIfoFirst =
    QStringLiteral("Please load an Ifo file first and then an Srt/Sub/Txt file.");
const QString kLoaded = QStringLiteral("Subtitle Style Modified/Loaded Successfully");

QString TooLong(const QString& first, const QString& second, const char* advice) {
    return QStringLiteral("The string \r") + first + u'\r' + second + u'\r' + QLatin1String(advice);
}
constexpr char kReload[] =
    "is too long. Please correct the srt and reload it. You can just use a smaler font size.";
constexpr char kSmaller[] = "is too long. Please use a smaler font size.";

class SubtitleLoading : public MainWindowTest {
protected:
    QString lineOfWidth(int width) const {
        return LineOfWidth(SubtitleFont(form_->renderSettings()), width);
    }
    QStringList entries() const {
        QStringList shown;
        for (int row = 0; row < c().ListBox1->count(); ++row) {
            shown << c().ListBox1->item(row)->text();
        }
        return shown;
    }
};

TEST_F(SubtitleLoading, WithoutPaletteOrFileTheLoadIsRefusedAndTheOldListStays) {
    loadSubtitle(QStringLiteral("a.srt"), SrtBytes({{QStringLiteral("Hello"), QString()}}));
    EXPECT_EQ(prompts_.dialogs.size(), 1) << "the file is chosen before the refusal";
    EXPECT_EQ(prompts_.takeMessages(), QStringList{kLoadIfoFirst});
    EXPECT_TRUE(form_->cueList().cues.empty());

    tickNoIfo();
    loadSubtitle(QStringLiteral("a.srt"), SrtBytes({{QStringLiteral("Hello"), QString()}}));
    prompts_.takeMessages();
    c().Button2->click();  // cancelled
    EXPECT_EQ(prompts_.messages, QStringList{kLoadIfoFirst});
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Hello")});
    EXPECT_TRUE(form_->subsLoaded());
}

TEST_F(SubtitleLoading, ALoadThatFitsIsReportedListedAndReady) {
    tickNoIfo();
    QString captionDuringLoad;
    prompts_.onMessage = [&](const QString&) { captionDuringLoad = form_->windowTitle(); };
    loadSubtitle(QStringLiteral("crete.srt"),
                 SrtBytes({{QStringLiteral("Καλημέρα"), QString()},
                           {QStringLiteral("one"), QStringLiteral("two")}}));
    EXPECT_TRUE(prompts_.dialogs.value(0).filter.contains(QStringLiteral("*.SRT")));
    EXPECT_EQ(prompts_.messages, QStringList{kLoaded});
    EXPECT_EQ(captionDuringLoad, QStringLiteral("Marvoxa By Pellorn Loading Subtitle..."));
    EXPECT_EQ(form_->windowTitle(), QStringLiteral("Marvoxa By Pellorn"));
    EXPECT_EQ(c().Edit2->text(), dir_.filePath(QStringLiteral("crete.srt")));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("Καλημέρα"), QStringLiteral("one | two")}));
    EXPECT_TRUE(form_->subsLoaded());
}

TEST_F(SubtitleLoading, A679PixelLinePassesAnd680FailsReportingOnlyTheFirstTooWideCue) {
    tickNoIfo();
    const QString fits = lineOfWidth(679);
    const QString tooWide = lineOfWidth(680);
    loadSubtitle(QStringLiteral("wide.srt"),
                 SrtBytes({{fits, fits}, {QStringLiteral("short"), tooWide}, {tooWide, tooWide}}));

    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{TooLong(QStringLiteral("short"), tooWide, kReload)});
    EXPECT_FALSE(form_->subsLoaded());
    EXPECT_FALSE(form_->linesFit());
    EXPECT_TRUE(entries().isEmpty()) << "a refused subtitle is not offered";
    EXPECT_EQ(form_->cueList().cues.size(), 3u) << "its data stays";
    EXPECT_EQ(c().Edit2->text(), QStringLiteral("Load SRT"));
    c().Button3->click();
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("Please load an Srt/Sub/Txt subtitle.")});

    loadSubtitle(QStringLiteral("fits.srt"), SrtBytes({{fits, fits}}));
    EXPECT_EQ(prompts_.takeMessages(), QStringList{kLoaded});

    // Once a subtitle passed, a too wide new one asks for a smaller font and stays listed.
    loadSubtitle(QStringLiteral("wide.srt"),
                 SrtBytes({{QStringLiteral("ok"), QString()}, {tooWide, QString()}}));
    EXPECT_EQ(prompts_.messages, QStringList{TooLong(tooWide, QString(), kSmaller)});
    EXPECT_EQ(entries().size(), 2);
    EXPECT_EQ(c().Edit2->text(), dir_.filePath(QStringLiteral("fits.srt")));
    EXPECT_TRUE(form_->subsLoaded());
}

TEST_F(SubtitleLoading, StyleChangesCheckAgainExceptTheCharset) {
    tickNoIfo();
    const QString line = lineOfWidth(600);  // fits at 22 points, not at 26
    loadSubtitle(QStringLiteral("a.srt"), SrtBytes({{line, QStringLiteral("b")}}));
    prompts_.takeMessages();

    QString captionDuringCheck;
    prompts_.onMessage = [&](const QString&) { captionDuringCheck = form_->windowTitle(); };
    pick(c().ComboBoxOutlineWidth, QStringLiteral("4"));
    EXPECT_EQ(prompts_.takeMessages(), QStringList{kLoaded});
    EXPECT_EQ(captionDuringCheck, QStringLiteral("Marvoxa By Pellorn Checking Subtitle Length..."));
    EXPECT_EQ(form_->windowTitle(), QStringLiteral("Marvoxa By Pellorn"));

    pick(c().ComboBox7, QStringLiteral("GREEK"));
    EXPECT_TRUE(prompts_.takeMessages().isEmpty());

    pick(c().ComboBox6, QStringLiteral("26"));
    EXPECT_EQ(prompts_.takeMessages(), QStringList{TooLong(line, QStringLiteral("b"), kSmaller)});
    EXPECT_TRUE(form_->subsLoaded());

    // A selected cue too wide for the preview is reported there, and the check then measures
    // and reports nothing.
    pick(c().ComboBox6, QStringLiteral("22"));
    prompts_.takeMessages();
    c().ListBox1->setCurrentRow(0);
    pick(c().ComboBox6, QStringLiteral("30"));
    EXPECT_EQ(prompts_.messages, QStringList{TooLong(line, QStringLiteral("b"), "is too long.")});
    EXPECT_FALSE(form_->linesFit());
    EXPECT_EQ(preview(), Background(VideoStandard::Pal)) << "nothing drawn";
}

TEST_F(SubtitleLoading, ABadFrameRateRunsTheCheckWithoutSuccess) {
    tickNoIfo();
    loadSubtitle(QStringLiteral("movie.sub"), "{1}{1}29.97\n{10}{20}Hello\n");
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral(
                  "The first line of the sub must contain the framerate. Ex: {1}{1}25.000")});
    EXPECT_TRUE(form_->loadFailed());
    EXPECT_FALSE(form_->subsLoaded());

    loadSubtitle(QStringLiteral("movie.txt"), "{1}{1}25\n{10}{20}Hello|World\n");
    EXPECT_FALSE(form_->loadFailed());
    EXPECT_TRUE(form_->subsLoaded());
    EXPECT_EQ(entries(), QStringList{QStringLiteral("{10}{20}Hello|World")});
}

TEST_F(SubtitleLoading, ReadingErrorsEndTheLoadAndNoticesComeBeforeTheResult) {
    tickNoIfo();
    loadSubtitle(QStringLiteral("movie.sub"), "{1}{1}25.000\n{10}{20}One\n{1x}{40}Two\n");
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("'1x' is not a valid integer value")});
    EXPECT_FALSE(form_->subsLoaded());
    EXPECT_EQ(form_->windowTitle(), QStringLiteral("Marvoxa By Pellorn"));

    const QStringList partlyRead = entries();
    prompts_.fileAnswers << dir_.filePath(QStringLiteral("gone.srt"));
    c().Button2->click();
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("Cannot open file ") + dir_.filePath(u"gone.srt"_s) +
                          QStringLiteral(": No such file or directory")});
    EXPECT_EQ(entries(), partlyRead);

    loadSubtitle(QStringLiteral("a.srt"),
                 "1\n00:00:01,000 --> 00:00:02,000\nGood\n\n2\nat three --> later\nLost\n\n");
    ASSERT_EQ(prompts_.messages.size(), 2);
    EXPECT_TRUE(prompts_.messages[0].contains(QStringLiteral("line 6")));
    EXPECT_EQ(prompts_.messages[1], kLoaded);
}

// A file that gives no subtitle is refused as generation would refuse it, and the subtitles
// loaded before stay, ready to generate.
TEST_F(SubtitleLoading, AFileWithoutSubtitlesKeepsTheLoadedOnes) {
    tickNoIfo();
    loadSubtitle(QStringLiteral("good.srt"), SrtBytes({{QStringLiteral("Kept"), QString()}}));
    ASSERT_EQ(prompts_.takeMessages(), QStringList{kLoaded});
    const QByteArray picture = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") +
                               QByteArray(300, '\xff') + QByteArray(200, '\0');
    const std::pair<const char*, QByteArray> empty[] = {
        {"empty.srt", QByteArray()}, {"picture.srt", picture}, {"blank.vtt", "WEBVTT\n\n"}};
    for (const auto& [name, bytes] : empty) {
        loadSubtitle(QLatin1String(name), bytes);
        EXPECT_EQ(prompts_.takeMessages(),
                  QStringList{QStringLiteral("The subtitle file holds no subtitles, so there is "
                                             "nothing to generate. Load a subtitle file with at "
                                             "least one subtitle.")})
            << name;
        EXPECT_EQ(entries(), QStringList{QStringLiteral("Kept")}) << name;
        EXPECT_EQ(c().Edit2->text(), dir_.filePath(QStringLiteral("good.srt")));
        EXPECT_TRUE(form_->subsLoaded());
    }
    c().Button3->click();
    EXPECT_TRUE(prompts_.takeMessages().value(0).startsWith(u"All Done !!!"_s));
    EXPECT_TRUE(QFileInfo::exists(dir_.filePath(QStringLiteral("Generated.sup"))));
}

// mkvmerge makes the video; a cancelled question keeps the subtitles loaded before.
TEST_F(SubtitleLoading, AVideoWithTwoTextTracksAsksWhichToLoadByLanguageAndTitle) {
    tickNoIfo();
    writeFile(QStringLiteral("en.srt"), SrtBytes({{QStringLiteral("Hello"), QString()}}));
    writeFile(QStringLiteral("el.srt"), SrtBytes({{QStringLiteral("Γειά"), QString()}}));
    RunTool(QStringLiteral("mkvmerge"),
            Words("-q -o film.mkv --language 0:eng --track-name 0:Dialogue en.srt --language "
                  "0:gre el.srt"),
            dir_.path());
    const QStringList tracks{QStringLiteral("1: subrip, eng, \"Dialogue\""),
                             QStringLiteral("2: subrip, gre")};
    for (const std::optional<int> answer : {std::optional<int>(1), std::optional<int>()}) {
        prompts_.trackAnswer = answer;
        prompts_.fileAnswers << dir_.filePath(QStringLiteral("film.mkv"));
        c().Button2->click();
        EXPECT_EQ(prompts_.tracksShown.takeFirst(), tracks);
        EXPECT_EQ(prompts_.takeMessages(), answer ? QStringList{kLoaded} : QStringList());
        EXPECT_EQ(entries(), QStringList{QStringLiteral("Γειά")});
        EXPECT_TRUE(form_->subsLoaded());
    }
    EXPECT_TRUE(prompts_.dialogs.value(0).filter.contains(QStringLiteral("*.MKV")));
    EXPECT_TRUE(prompts_.dialogs.value(0).filter.contains(QStringLiteral("*.vtt")));

    const std::unique_ptr<QInputDialog> dialog =
        MakeTrackDialog(nullptr, QStringLiteral("film.mkv"), tracks);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    const QString path = QFileInfo(QStringLiteral(MARVOXA_SCREENSHOT_PATH)).absolutePath() +
                         QStringLiteral("/track-dialog.png");
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(dialog->grab().save(path)) << path.toStdString();
}

}  // namespace
}  // namespace marvoxa::test
