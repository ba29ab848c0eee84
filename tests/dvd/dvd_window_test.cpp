// "Add to the DVD of the loaded IFO": the Options dialog offers the loaded DVD's titles, and
// Generate Sup writes the copy beside Generated.sup, with the bar moving and Cancel working
// while it is written.

#include "lsdvd_listing.h"
#include "main_window_fixture.h"
#include "test_discs.h"

#include <QDir>
#include <QJsonArray>
#include <QProgressBar>
#include <QPushButton>

namespace marvoxa::test {
namespace {

class DvdWindow : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(PalDisc().built);
        prompts_.fileAnswers << PalDisc().ifo(1);
        c().Button1->click();
        prompts_.takeMessages();
        OptionsChoices choices;
        choices.intoDvd = true;
        choices.dvdTitle = 1;
        choices.outputs.language = QStringLiteral("de");
        prompts_.optionsAnswer = choices;
        c().ButtonOptions->click();
        loadSubtitle(QStringLiteral("film.srt"),
                     "1\n00:00:00,500 --> 00:00:01,500\nHallo\n\n"
                     "2\n00:00:03,200 --> 00:00:04,000\nWelt\n");
        ASSERT_TRUE(form_->subsLoaded());
        prompts_.takeMessages();
    }

    QStringList folderEntries() const {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

TEST_F(DvdWindow, OffersTheTitlesAndWritesTheCopyWithTheBarAndCancelCoveringIt) {
    ASSERT_EQ(prompts_.dvdTitlesShown.size(), 1);
    EXPECT_EQ(prompts_.dvdTitlesShown[0],
              (QList<DvdTitleOption>{{1, QStringLiteral("Title 1 (0:00:05)")},
                                     {2, QStringLiteral("Title 2 (0:00:02)")}}));

    // Cancelled once the cues are in and the copy has begun: nothing is left.
    const QStringList before = folderEntries();
    int cancelledAt = -1;
    const auto connection =
        QObject::connect(c().ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
            if (cancelledAt < 0 && value > 2 && value < c().ProgressBar1->maximum()) {
                cancelledAt = value;
                c().Button3->click();
            }
        });
    c().Button3->click();
    QObject::disconnect(connection);
    EXPECT_GT(cancelledAt, 0) << "the bar moved on while the copy was written";
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("Generation cancelled. Nothing was written: files "
                                         "generated before are unchanged.")});
    EXPECT_EQ(folderEntries(), before);

    c().Button3->click();
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral(
        "The DVD with the subtitles added, as subtitle stream 2 (de) of title 1:\r")))
        << messages[1].toStdString();
    EXPECT_TRUE(messages[1].contains(QStringLiteral("genisoimage -dvd-video")));
    // The completion message tells what the copy holds, with no IFO editor step.
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Marvoxa added the subtitles to a copy")))
        << messages[0].toStdString();
    EXPECT_FALSE(messages[0].contains(QStringLiteral("Ifoedit"))) << messages[0].toStdString();
    EXPECT_EQ(c().ProgressBar1->value(), c().ProgressBar1->maximum());
    EXPECT_TRUE(QFileInfo(dir_.filePath(QStringLiteral("VIDEO_TS/VTS_01_1.VOB"))).size() >
                QFileInfo(PalDisc().file(QStringLiteral("VTS_01_1.VOB"))).size());
}

// A choice kept from an earlier session while no IFO is loaded: nothing is written, and the
// message says what to do.
TEST_F(MainWindowTest, AddingToADvdWithoutAnIfoSaysWhatToLoad) {
    tickNoIfo();
    OptionsChoices choices;
    choices.intoDvd = true;
    form_->setOptions(choices);
    loadSubtitle(QStringLiteral("film.srt"), "1\n00:00:00,500 --> 00:00:01,500\nHallo\n");
    prompts_.takeMessages();
    c().Button3->click();
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Adding the subtitles to a DVD needs")));
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath(QStringLiteral("Generated.sup"))));
}

TEST_F(DvdWindow, FurtherStreamsGoIntoTheSameCopyAfterTheLoadedOne) {
    const QString french =
        writeFile(QStringLiteral("film.fr.srt"), "1\n00:00:01,000 --> 00:00:02,000\nBonjour\n");
    OptionsChoices choices = form_->options();
    choices.moreStreams = {{french, QString()}};
    form_->setOptions(choices);
    c().Button3->click();
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 2) << messages.join(u'|').toStdString();
    EXPECT_TRUE(messages[1].startsWith(
        QStringLiteral("The DVD with the subtitles added, as subtitle streams 2 (de) and 3 (fr) "
                       "of title 1:\r")))
        << messages[1].toStdString();
    QStringList listed;
    for (const QJsonValue& stream : LsdvdTracks(dir_.path())[0][QStringLiteral("subp")].toArray()) {
        listed << stream[QStringLiteral("langcode")].toString() + QLatin1Char(' ') +
                      stream[QStringLiteral("streamid")].toString();
    }
    EXPECT_EQ(listed, (QStringList{QStringLiteral("en 0x20"), QStringLiteral("de 0x21"),
                                   QStringLiteral("fr 0x22")}));
}

}  // namespace
}  // namespace marvoxa::test
