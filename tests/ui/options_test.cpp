// The "Options..." button and its dialog: where the button stands, what the dialog shows and
// returns, and that a new choice redraws and checks the subtitle as a style change does.

#include "main_window_fixture.h"
#include "render/subtitle_raster.h"
#include "subtitles/cue_lines.h"
#include "test_files.h"
#include "ui/options_dialog.h"
#include "ui/preview_pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace marvoxa::test {
namespace {

class Options : public MainWindowTest {
protected:
    // The preview of the window's selected cue as the encoder draws it with the window's settings.
    QImage cuePreview(int row) const {
        QImage picture = Background(VideoStandard::Pal);
        const RenderSettings settings = form_->renderSettings();
        const CueList& list = form_->cueList();
        const CueLines cue = DrawnCueLines(list, static_cast<size_t>(row), settings);
        DrawPreviewLines(picture, PlacedLines{cue.drawn, cue.placement}, settings,
                         form_->palette()->roleColours(form_->colourRoles()));
        return picture;
    }
    void choose(const OptionsChoices& choices) {
        prompts_.optionsAnswer = choices;
        c().ButtonOptions->click();
    }
};

TEST_F(Options, TheButtonStandsInFreeRoomAndCoversNoControl) {
    QPushButton* button = c().ButtonOptions;
    EXPECT_EQ(button->text(), QStringLiteral("Options..."));
    EXPECT_EQ(button->geometry(), QRect(496, 60, 76, 22));
    EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()) + 8, button->width());
    EXPECT_EQ(form_->size(), QSize(803, 705));
    tickNoIfo();  // the swatches appear
    for (const QWidget* other : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != button && !other->isHidden()) {
            EXPECT_FALSE(other->geometry().intersects(button->geometry()))
                << other->objectName().toStdString();
        }
    }
}

TEST_F(Options, ANewChoiceRedrawsTheCueAndChecksTheLinesAgain) {
    tickNoIfo();
    loadSubtitle(QStringLiteral("lines.srt"),
                 ReadFile(SubtitleCollectionDir() + QStringLiteral("/three_or_more_lines.srt")));
    const QStringList loaded = prompts_.takeMessages();
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_TRUE(loaded[0].startsWith(QStringLiteral("2 subtitles have more than two lines")));
    EXPECT_EQ(loaded[1], QStringLiteral("Subtitle Style Modified/Loaded Successfully"));
    selectCue(2);
    EXPECT_EQ(preview(), backgroundWith(QStringLiteral("Line one of five"),
                                        QStringLiteral("Line two of five")));

    choose(OptionsChoices{TextOptions{.allLines = true}});
    EXPECT_EQ(prompts_.optionsShown, QList<OptionsChoices>{OptionsChoices{}});
    EXPECT_TRUE(form_->renderSettings().text.allLines);
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("Subtitle Style Modified/Loaded Successfully")});
    EXPECT_EQ(preview(), cuePreview(2));
    EXPECT_NE(preview(), backgroundWith(QStringLiteral("Line one of five"),
                                        QStringLiteral("Line two of five")));

    // Cancelled, or the same choices again: nothing runs.
    c().ButtonOptions->click();
    choose(OptionsChoices{TextOptions{.allLines = true}});
    EXPECT_EQ(prompts_.takeMessages(), QStringList());
    EXPECT_TRUE(form_->renderSettings().text.allLines);

    // Choosing outputs draws nothing anew.
    choose(OptionsChoices{TextOptions{.allLines = true}, ExtraOutputChoices{.vobSub = true}});
    EXPECT_EQ(prompts_.takeMessages(), QStringList());
    EXPECT_TRUE(form_->options().outputs.vobSub);

    c().BitBtnSetDefaultValues->click();
    EXPECT_EQ(form_->options(), OptionsChoices{});
}

TEST_F(Options, WrappingLetsATooWideFileLoad) {
    tickNoIfo();
    const QByteArray wide = ReadFile(SubtitleCollectionDir() + QStringLiteral("/long_lines.srt"));
    loadSubtitle(QStringLiteral("wide.srt"), wide);
    ASSERT_EQ(prompts_.takeMessages().size(), 1);  // the reload message
    EXPECT_FALSE(form_->subsLoaded());

    choose(OptionsChoices{TextOptions{.wrap = true}});
    loadSubtitle(QStringLiteral("wide.srt"), wide);
    const QStringList messages = prompts_.takeMessages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("more than two lines")));
    EXPECT_TRUE(form_->subsLoaded());
}

TEST_F(Options, CharactersNoFontDrawsAreNamedAfterTheLoadAndAfterAFontChange) {
    tickNoIfo();
    loadSubtitle(QStringLiteral("private-use.srt"),
                 ReadFile(SubtitleCollectionDir() + QStringLiteral("/undrawable.srt")));
    const QString notice = QStringLiteral(
        "2 subtitles hold characters that no installed font can draw; they show as empty boxes. "
        "The first is subtitle 2 at 00:00:02,500, character U+F0000.");
    EXPECT_EQ(prompts_.takeMessages(),
              (QStringList{notice, QStringLiteral("Subtitle Style Modified/Loaded Successfully")}));

    pick(c().ComboBox5, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(prompts_.takeMessages(),
              (QStringList{QStringLiteral("Subtitle Style Modified/Loaded Successfully"), notice}));
    // Other style changes do not repeat it.
    pick(c().ComboBox6, QStringLiteral("24"));
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("Subtitle Style Modified/Loaded Successfully")});
}

TEST_F(Options, AWideIfoDrawsTheWideDrawingWithANoticeUntilFourByThreeIsChosen) {
    QByteArray wideIfo = IfoBytes(PolycromaticPalette(), VideoStandard::Pal);
    wideIfo[512] = static_cast<char>(wideIfo[512] | 0x0c);  // display aspect 16:9
    prompts_.fileAnswers << writeFile(QStringLiteral("VTS_01_0.IFO"), wideIfo);
    c().Button1->click();
    EXPECT_EQ(prompts_.takeMessages(), QStringList{*IfoWideNotice(AspectChoice::FromIfo, true)});
    EXPECT_TRUE(form_->renderSettings().wide);
    EXPECT_EQ(preview(),
              backgroundWith(QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas.")));

    OptionsChoices square;
    square.aspect = AspectChoice::FourByThree;
    choose(square);
    EXPECT_FALSE(form_->renderSettings().wide);
    // Redrawn as after a style change, with the square drawing.
    EXPECT_EQ(preview(),
              backgroundWith(QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas")));
    // A 4:3 IFO draws square without a notice.
    loadIfo(PolycromaticPalette());
    choose(OptionsChoices{});
    EXPECT_FALSE(form_->renderSettings().wide);
    EXPECT_TRUE(prompts_.takeMessages().isEmpty());
}

TEST_F(Options, TheDialogShowsTheChoicesAndReturnsWhatIsTicked) {
    const OptionsChoices current{TextOptions{MarkupMode::Strip, false, true}};
    OptionsDialog dialog(current);
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.choices(), current);
    EXPECT_EQ(dialog.markupList()->count(), 3);
    dialog.markupList()->setCurrentIndex(2);
    dialog.wrapBox()->setChecked(true);
    dialog.allLinesBox()->setChecked(false);
    EXPECT_EQ(dialog.choices(), (OptionsChoices{TextOptions{MarkupMode::Render, true, false}}));
    dialog.vobSubBox()->setChecked(true);
    dialog.dvdauthorBox()->setChecked(true);
    QTest::keyClicks(dialog.languageField(), QStringLiteral("DE"));  // refused: upper case
    EXPECT_EQ(dialog.languageField()->text(), QStringLiteral("en"));
    dialog.languageField()->clear();
    QTest::keyClicks(dialog.languageField(), QStringLiteral("d"));  // one letter keeps "en"
    EXPECT_EQ(dialog.choices().outputs, (ExtraOutputChoices{true, true, QStringLiteral("en")}));
    QTest::keyClicks(dialog.languageField(), QStringLiteral("e"));
    EXPECT_EQ(dialog.choices().outputs, (ExtraOutputChoices{true, true, QStringLiteral("de")}));
    EXPECT_FALSE(dialog.pgsSizeList()->isEnabled()) << "until the Blu-ray stream is ticked";
    dialog.pgsBox()->setChecked(true);
    ASSERT_TRUE(dialog.pgsSizeList()->isEnabled());
    dialog.pgsSizeList()->setCurrentText(QStringLiteral("3840x2160"));
    EXPECT_EQ(dialog.choices().outputs,
              (ExtraOutputChoices{true, true, QStringLiteral("de"), true, QSize(3840, 2160)}));
    dialog.pgsBox()->setChecked(false);
    EXPECT_FALSE(dialog.choices().outputs.pgs);
    EXPECT_FALSE(dialog.choices().forced);
    dialog.forcedBox()->setChecked(true);
    EXPECT_TRUE(dialog.choices().forced);
    EXPECT_FALSE(dialog.intoDvdBox()->isEnabled()) << "no DVD loaded";
    EXPECT_EQ(dialog.aspectList()->count(), 3);
    EXPECT_EQ(dialog.choices().aspect, AspectChoice::FromIfo);
    dialog.aspectList()->setCurrentIndex(1);
    EXPECT_EQ(dialog.choices().aspect, AspectChoice::FourByThree);

    // With a DVD's titles, longest first, and a picture for the guide.
    OptionsChoices adding = dialog.choices();
    adding.intoDvd = true;
    adding.dvdTitle = 2;
    OptionsDialog withDvd(adding, {{1, QStringLiteral("Title 1 (1:32:05)")},
                                   {2, QStringLiteral("Title 2 (0:03:12)")}});
    EXPECT_EQ(withDvd.choices(), adding);
    withDvd.dvdTitleList()->setCurrentIndex(0);
    EXPECT_EQ(withDvd.choices().dvdTitle, 1);
    withDvd.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&withDvd));
    const QString path = QFileInfo(QStringLiteral(MARVOXA_SCREENSHOT_PATH)).absolutePath() +
                         QStringLiteral("/options-dialog.png");
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(withDvd.grab().save(path)) << path.toStdString();
    EXPECT_LT(withDvd.width(), 500);
}

TEST_F(Options, MoreSubtitleStreamsAreAListOfFilesAndLanguagesWorkedByKeyboard) {
    OptionsDialog dialog(OptionsChoices{});
    QStringList picked{QStringLiteral("/films/film.Spanish.srt")};
    dialog.setFilePicker([&picked] { return picked.isEmpty() ? QString() : picked.takeFirst(); });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    MoreStreamsList* list = dialog.moreStreamsList();
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_EQ(dialog.choices(), OptionsChoices{});

    // Space on "Add stream" adds a row and goes into its file field; Tab reaches "...", whose
    // file gives the language the name carries.
    list->addButton()->setFocus();
    QTest::keyClick(list->addButton(), Qt::Key_Space);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_TRUE(list->pathField(0)->hasFocus());
    QTest::keyClick(list->pathField(0), Qt::Key_Tab);
    EXPECT_TRUE(list->pickButton(0)->hasFocus());
    QTest::keyClick(list->pickButton(0), Qt::Key_Space);
    EXPECT_EQ(list->pathField(0)->text(), QStringLiteral("/films/film.Spanish.srt"));
    EXPECT_EQ(list->languageField(0)->text(), QStringLiteral("es"));
    EXPECT_TRUE(list->languageField(0)->hasFocus());

    // A typed file and language; capitals are refused, a cancelled pick changes nothing.
    QTest::keyClick(list->languageField(0), Qt::Key_Tab);
    QTest::keyClick(list->removeButton(0), Qt::Key_Tab);
    EXPECT_TRUE(list->addButton()->hasFocus());
    QTest::keyClick(list->addButton(), Qt::Key_Space);
    QTest::keyClicks(list->pathField(1), QStringLiteral("/films/extra.srt"));
    QTest::keyClick(list->pickButton(1), Qt::Key_Space);
    EXPECT_EQ(list->pathField(1)->text(), QStringLiteral("/films/extra.srt"));
    QTest::keyClicks(list->languageField(1), QStringLiteral("ITit"));
    EXPECT_EQ(
        dialog.choices().moreStreams,
        (QList<StreamChoice>{{QStringLiteral("/films/film.Spanish.srt"), QStringLiteral("es")},
                             {QStringLiteral("/films/extra.srt"), QStringLiteral("it")}}));
    const QString path = QFileInfo(QStringLiteral(MARVOXA_SCREENSHOT_PATH)).absolutePath() +
                         QStringLiteral("/options-more-streams.png");
    EXPECT_TRUE(dialog.grab().save(path)) << path.toStdString();

    // Removing the first moves the focus to the row that takes its place.
    QTest::keyClick(list->removeButton(0), Qt::Key_Space);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_TRUE(list->pathField(0)->hasFocus());
    EXPECT_EQ(dialog.choices().moreStreams,
              (QList<StreamChoice>{{QStringLiteral("/films/extra.srt"), QStringLiteral("it")}}));
    OptionsDialog again(dialog.choices());
    EXPECT_EQ(again.choices(), dialog.choices());
}

}  // namespace
}  // namespace marvoxa::test
