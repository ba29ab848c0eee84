// "Add to the DVD of the loaded IFO": the Options dialog offers the loaded DVD's titles and the
// copy's folder, and Generate Sup writes the copy there, with the bar moving and Cancel working
// while it is written; nothing is added to a DVD that the dialog does not show ticked.

#include "lsdvd_listing.h"
#include "main_window_fixture.h"
#include "test_discs.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QProgressBar>
#include <QPushButton>

namespace marvoxa::test {
namespace {

class DvdWindow : public MainWindowTest {
protected:
    // The copy's folder unless another is chosen: beside the disc's folder, named after it.
    const QString defaultFolder = PalDisc().root + QStringLiteral(" with subtitles");

    ~DvdWindow() override { QDir(defaultFolder).removeRecursively(); }

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
    ASSERT_FALSE(QFileInfo::exists(defaultFolder));
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
    EXPECT_FALSE(QFileInfo::exists(defaultFolder)) << "made for the copy, not left behind";

    c().Button3->click();
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral(
        "The DVD with the subtitles added, as subtitle stream 2 (de) of title 1:\r")))
        << messages[1].toStdString();
    // The ISO image is made of the copy's folder, which holds the copy alone.
    EXPECT_TRUE(messages[1].contains(
        QStringLiteral("genisoimage -dvd-video -V DVD -o '%1.iso' '%1'").arg(defaultFolder)))
        << messages[1].toStdString();
    EXPECT_EQ(QDir(defaultFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("VIDEO_TS")});
    // The completion message tells what the copy holds, with no IFO editor step.
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Marvoxa added the subtitles to a copy")))
        << messages[0].toStdString();
    EXPECT_FALSE(messages[0].contains(QStringLiteral("Ifoedit"))) << messages[0].toStdString();
    EXPECT_EQ(c().ProgressBar1->value(), c().ProgressBar1->maximum());
    EXPECT_TRUE(QFileInfo(defaultFolder + QStringLiteral("/VIDEO_TS/VTS_01_1.VOB")).size() >
                QFileInfo(PalDisc().file(QStringLiteral("VTS_01_1.VOB"))).size());
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath(QStringLiteral("VIDEO_TS"))));
}

// A subtitle kept in the DVD's own folder can still be added: the copy goes to the folder
// chosen in Options, which is shown again and kept.
TEST_F(DvdWindow, TheCopyGoesToTheChosenFolderWhichIsRemembered) {
    ASSERT_EQ(prompts_.optionsShown.size(), 1);
    EXPECT_EQ(prompts_.optionsShown[0].dvdFolder, defaultFolder);
    EXPECT_EQ(form_->options().dvdFolder, QString()) << "a default is not stored";

    // A folder holding other files would go into the ISO image with the copy.
    OptionsChoices chosen = form_->options();
    chosen.dvdFolder = dir_.path();
    prompts_.optionsAnswer = chosen;
    c().ButtonOptions->click();
    c().Button3->click();
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("The output folder for the DVD copy, %1, holds other "
                                         "files (film.srt): an ISO image made of it would hold "
                                         "them too. Choose an empty or new folder in Options...")
                              .arg(dir_.path())});

    chosen.dvdFolder = dir_.filePath(QStringLiteral("Greek DVD"));
    prompts_.optionsAnswer = chosen;
    c().ButtonOptions->click();
    EXPECT_EQ(form_->options().dvdFolder, chosen.dvdFolder);
    c().ButtonOptions->click();
    EXPECT_EQ(prompts_.optionsShown.value(3).dvdFolder, chosen.dvdFolder);

    c().Button3->click();
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 2) << messages.join(u'|').toStdString();
    EXPECT_TRUE(messages[1].contains(QStringLiteral("'%1'").arg(chosen.dvdFolder)));
    EXPECT_TRUE(QFileInfo::exists(chosen.dvdFolder + QStringLiteral("/VIDEO_TS/VTS_01_0.IFO")));
    EXPECT_FALSE(QFileInfo::exists(defaultFolder));
}

// Ways the Options box stops showing "Add to the DVD" ticked and enabled after it was chosen;
// Generate then makes the stream alone, as the dialog shows.
struct HiddenChoiceCase {
    const char* name;
    bool noIfoTicked;  // else a title set IFO outside any DVD is loaded
};

class HiddenDvdChoice : public DvdWindow, public ::testing::WithParamInterface<HiddenChoiceCase> {};

TEST_P(HiddenDvdChoice, GenerateMakesNoCopy) {
    // The disc's palette has no greys: its IFO shows the box ticked, in the IFO's own case.
    ASSERT_TRUE(form_->monoIfo());
    tickNoIfo();  // unticked: Load Ifo is free again
    if (GetParam().noIfoTicked) {
        tickNoIfo();
        ASSERT_TRUE(form_->noIfo());
    } else {
        loadIfo(PolycromaticPalette());
    }
    loadSubtitle(QStringLiteral("film.srt"), "1\n00:00:00,500 --> 00:00:01,500\nHallo\n");
    prompts_.takeMessages();
    c().ButtonOptions->click();
    ASSERT_EQ(prompts_.optionsShown.size(), 2);
    EXPECT_FALSE(prompts_.optionsShown[1].intoDvd);
    EXPECT_EQ(prompts_.dvdTitlesShown.value(1), QList<DvdTitleOption>());

    c().Button3->click();
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 1) << messages.join(u'|').toStdString();
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("All Done !!!")))
        << messages[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir_.filePath(QStringLiteral("Generated.sup"))));
    EXPECT_FALSE(QFileInfo::exists(defaultFolder));
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath(QStringLiteral("VIDEO_TS"))));
    // The choice itself is kept for when a DVD is in use again.
    EXPECT_TRUE(form_->options().intoDvd);
}

INSTANTIATE_TEST_SUITE_P(AfterChoosingTheDvd, HiddenDvdChoice,
                         ::testing::Values(HiddenChoiceCase{"NoIfoTicked", true},
                                           HiddenChoiceCase{"WrongIfoLoaded", false}),
                         [](const auto& instance) { return std::string(instance.param.name); });

// A choice restored from the settings file while no DVD is loaded: the dialog shows it
// unticked and greyed, and a plain conversion is made.
TEST_F(MainWindowTest, AStoredDvdChoiceWaitsForADvd) {
    tickNoIfo();
    OptionsChoices choices;
    choices.intoDvd = true;
    choices.dvdTitle = 2;
    form_->setOptions(choices);
    loadSubtitle(QStringLiteral("film.srt"), "1\n00:00:00,500 --> 00:00:01,500\nHallo\n");
    prompts_.takeMessages();
    c().ButtonOptions->click();
    ASSERT_EQ(prompts_.optionsShown.size(), 1);
    EXPECT_FALSE(prompts_.optionsShown[0].intoDvd);
    c().Button3->click();
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("All Done !!! (Case : No Ifo)")))
        << messages[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir_.filePath(QStringLiteral("Generated.sup"))));

    // Confirming the dialog meanwhile keeps the stored choice for the next DVD.
    prompts_.optionsAnswer = prompts_.optionsShown[0];
    prompts_.optionsAnswer->forced = true;
    c().ButtonOptions->click();
    EXPECT_TRUE(form_->options().intoDvd);
    EXPECT_EQ(form_->options().dvdTitle, 2);
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
    for (const QJsonValue& stream :
         LsdvdTracks(defaultFolder)[0][QStringLiteral("subp")].toArray()) {
        listed << stream[QStringLiteral("langcode")].toString() + QLatin1Char(' ') +
                      stream[QStringLiteral("streamid")].toString();
    }
    EXPECT_EQ(listed, (QStringList{QStringLiteral("en 0x20"), QStringLiteral("de 0x21"),
                                   QStringLiteral("fr 0x22")}));
}

}  // namespace
}  // namespace marvoxa::test
