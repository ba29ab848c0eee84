// What the main window's preview area shows after each trigger, the track bars and their
// labels, the user's pictures and the reset to defaults.

#include "main_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

namespace marvoxa::test {
namespace {

// The lowest row where two pictures of one size differ, or -1.
int LowestDifferingRow(const QImage& a, const QImage& b) {
    for (int y = a.height() - 1; y >= 0; --y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return y;
            }
        }
    }
    return -1;
}

using Preview = MainWindowTest;

TEST_F(Preview, OddLineOverlapPositionsMoveUpToTheNextEvenOne) {
    c().offset_or->setValue(-13);
    EXPECT_EQ(c().offset_or->value(), -12);
    EXPECT_EQ(c().LabelOffset_Or->text(), QStringLiteral("-12"));
    c().offset_or->setValue(9);
    EXPECT_EQ(c().offset_or->value(), 10);
    EXPECT_EQ(c().LabelOffset_Or->text(), QStringLiteral("10"));
}

TEST_F(Preview, ArrowKeysMoveTheLineOverlapBothWays) {
    c().offset_or->setFocus();
    QTest::keyClick(c().offset_or, Qt::Key_Down);
    EXPECT_EQ(c().offset_or->value(), -6);
    QTest::keyClick(c().offset_or, Qt::Key_Up);
    QTest::keyClick(c().offset_or, Qt::Key_Up);
    EXPECT_EQ(c().offset_or->value(), -2);
}

TEST_F(Preview, BottomOffsetLiftsTheSampleLinesWithoutFullStop) {
    tickNoIfo();
    const QImage bare = Background(VideoStandard::Pal);
    c().offset->setValue(100);
    const int lowAt100 = LowestDifferingRow(preview(), bare);
    c().offset->setValue(30);
    EXPECT_EQ(LowestDifferingRow(preview(), bare) - lowAt100, 70);
    EXPECT_EQ(c().LabelOffset->text(), QStringLiteral("30"));
    EXPECT_EQ(preview(),
              backgroundWith(QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas")));
}

TEST_F(Preview, TheSelectedCueIsWhatStaysVisible) {
    tickNoIfo();
    loadSubtitle(QStringLiteral("a.srt"),
                 SrtBytes({{QStringLiteral("First cue"), QString()},
                           {QStringLiteral("Second"), QStringLiteral("cue")}}));
    const QImage second = backgroundWith(QStringLiteral("Second"), QStringLiteral("cue"));
    // No cue selected yet: a style change leaves the sample lines.
    pick(c().ComboBox8, QStringLiteral("Bold"));
    EXPECT_EQ(preview(),
              backgroundWith(QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas")));

    c().ListBox1->setCurrentRow(1);
    EXPECT_EQ(preview(), backgroundWith(QStringLiteral("Second"), QStringLiteral("cue")));
    pick(c().ComboBox3, QStringLiteral("Color 2"));
    EXPECT_EQ(preview(), backgroundWith(QStringLiteral("Second"), QStringLiteral("cue")));
    pick(c().ComboBoxAlign, QStringLiteral("left"));
    EXPECT_EQ(preview(), backgroundWith(QStringLiteral("Second"), QStringLiteral("cue")));

    // An activation shows the bare picture; clicking the selected cue draws it again.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form_.get(), &activate);
    EXPECT_EQ(preview(), Background(VideoStandard::Pal));
    QListWidget* list = c().ListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(preview(), backgroundWith(QStringLiteral("Second"), QStringLiteral("cue")));
}

TEST_F(Preview, ACueOfASubtitleThatNeverPassedIsNotDrawn) {
    tickNoIfo();
    const QImage sample = preview();
    // The second line's frame number is no integer: the first cue is listed, nothing checked.
    loadSubtitle(QStringLiteral("a.sub"), "{1}{1}25\n{10}{20}Hi\n{x}{30}Bad\n");
    ASSERT_EQ(c().ListBox1->count(), 1);
    c().ListBox1->setCurrentRow(0);
    EXPECT_EQ(preview(), sample);
}

TEST_F(Preview, UserPicturesAreScaledToTheFrameAndUnreadableOnesGiveWay) {
    tickNoIfo();
    const QString palPicture = dir_.filePath(QStringLiteral("pal.bmp"));
    QImage small(360, 288, QImage::Format_RGB32);
    small.fill(QColor(10, 120, 30));
    ASSERT_TRUE(small.save(palPicture, "BMP"));
    const QString ntscPicture = writeFile(QStringLiteral("ntsc.bmp"), "not a picture");
    prompts_.fileAnswers << palPicture << ntscPicture;
    c().BitBtnChangeImage->click();

    ASSERT_EQ(prompts_.dialogs.size(), 2);
    EXPECT_EQ(prompts_.dialogs[0].title, QStringLiteral("Load 720x576 PAL image"));
    EXPECT_TRUE(
        prompts_.dialogs[0].filter.startsWith(QStringLiteral("Load your PAL 720x576 BMP (")));
    EXPECT_EQ(prompts_.dialogs[1].title, QStringLiteral("Load 720x480 NTSC image"));
    EXPECT_EQ(c().LabelImageChangedPAL->text(), palPicture);
    EXPECT_EQ(c().LabelImageChangedNTSC->text(), ntscPicture);
    EXPECT_EQ(preview().size(), QSize(720, 576));
    EXPECT_EQ(preview().pixel(719, 575), qRgb(10, 120, 30));

    c().Ntsc->click();
    EXPECT_EQ(preview(), Background(VideoStandard::Ntsc));

    // Cancelling both dialogs keeps both paths.
    c().BitBtnChangeImage->click();
    EXPECT_EQ(c().LabelImageChangedPAL->text(), palPicture);
    EXPECT_EQ(c().LabelImageChangedNTSC->text(), ntscPicture);
}

TEST_F(Preview, ResetTwiceRestoresTheDefaultsWithOneArialFirst) {
    tickNoIfo();
    c().Ntsc->click();
    loadSubtitle(QStringLiteral("a.srt"), SrtBytes({{QStringLiteral("Hello"), QString()}}));
    pick(c().ComboBox6, QStringLiteral("30"));
    pick(c().ComboBox7, QStringLiteral("GREEK"));
    pick(c().ComboBox8, QStringLiteral("Italic"));
    pick(c().ComboBoxAlign, QStringLiteral("right"));
    pick(c().ComboBoxOutlineWidth, QStringLiteral("2"));
    pick(c().ComboBox5, c().ComboBox5->itemText(2));
    pick(c().ComboBox2, QStringLiteral("Color 7"));
    c().offset->setValue(200);
    c().offset_or->setValue(6);
    prompts_.fileAnswers << QString() << writeFile(QStringLiteral("x.bmp"), "x");
    c().BitBtnChangeImage->click();
    prompts_.takeMessages();

    c().BitBtnSetDefaultValues->click();
    c().BitBtnSetDefaultValues->click();

    EXPECT_TRUE(prompts_.messages.isEmpty());
    const QStringList families = QFontDatabase::families();
    ASSERT_EQ(c().ComboBox5->count(), families.size() + 1);
    EXPECT_EQ(c().ComboBox5->itemText(0), QStringLiteral("Arial"));
    EXPECT_EQ(c().ComboBox5->currentIndex(), 0);
    RenderSettings expected;
    expected.standard = VideoStandard::Ntsc;  // the standard is no default: it stays
    EXPECT_EQ(form_->renderSettings(), expected);
    EXPECT_EQ(form_->colourRoles(), ColourRoles{});
    EXPECT_EQ(c().LabelOffset->text(), QStringLiteral("30"));
    EXPECT_EQ(c().LabelOffset_Or->text(), QStringLiteral("-4"));
    EXPECT_TRUE(c().LabelImageChangedNTSC->text().isEmpty());
    EXPECT_EQ(preview(), Background(VideoStandard::Ntsc));
    // Unticking the box removed the generic palette; the subtitle stays listed but has to be
    // loaded again after a palette.
    EXPECT_EQ(PaletteView(*form_), QStringLiteral("unticked load std-fixed NTSC roles 0000 "
                                                  "-ready -noIfo -monoIfo swatches 0"));
    EXPECT_FALSE(form_->subsLoaded());
    EXPECT_EQ(c().ListBox1->count(), 1);
}

}  // namespace
}  // namespace marvoxa::test
