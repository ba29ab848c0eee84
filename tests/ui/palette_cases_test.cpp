// The palette part of the main window: loading an IFO, the no-IFO box and the states they lead
// to, as the controls show them.

#include "main_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace marvoxa::test {
namespace {

const QString kMonocromaticMessage = QStringLiteral(
    "ATTENTION :\rYour loaded ifo has not a polycromatic color palette.\rProbably this ifo does "
    "not contain any subtitle and you are tryng to add the first one. \rMarvoxa will create an "
    "generic polycromatic color palette in order to generate a correct colored sup file.\rAfter "
    "the generation of the sup file , Marvoxa will tell you what to do using Ifoedit.\rFor now "
    "just load your Srt and press Generate sup.");

const QString kStart =
    QStringLiteral("unticked load std-fixed PAL roles 0000 -ready -noIfo -monoIfo swatches 0");

class PaletteCases : public MainWindowTest {
protected:
    QString view() const { return PaletteView(*form_); }
    QStringList tooltips() const {
        QStringList tips;
        for (const QLabel* square : form_->swatchRow().squares()) {
            tips << square->toolTip();
        }
        return tips;
    }
    QImage withSample() const {
        return backgroundWith(QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas."));
    }
};

TEST_F(PaletteCases, APolycromaticIfoBringsItsPaletteRolesAndStandard) {
    EXPECT_EQ(view(), kStart);
    EXPECT_EQ(c().Edit1->text(), QStringLiteral("Load IFO"));
    EXPECT_EQ(preview(), Background(VideoStandard::Pal));

    loadIfo(PolycromaticPalette(), VideoStandard::Ntsc);
    EXPECT_TRUE(prompts_.messages.isEmpty());
    // IFO files on discs are named in capitals.
    EXPECT_TRUE(prompts_.dialogs.value(0).filter.contains(QStringLiteral("*.IFO")));
    EXPECT_EQ(c().Edit1->text(), dir_.filePath(QStringLiteral("VTS_01_0.IFO")));
    // Background and outline the dark grey, antialias the middle one, text the light one.
    EXPECT_EQ(view(),
              QStringLiteral("unticked load std-fixed NTSC roles 1020 ready -noIfo -monoIfo "
                             "swatches 16"));

    const auto& squares = form_->swatchRow().squares();
    const auto& indexes = form_->swatchRow().indexLabels();
    EXPECT_EQ(tooltips().mid(0, 4),
              (QStringList{QStringLiteral("00108080"), QStringLiteral("00808080"),
                           QStringLiteral("00EB8080"), QStringLiteral("0051F05A")}));
    EXPECT_EQ(indexes[3]->toolTip(), QStringLiteral("0051F05A"));
    EXPECT_EQ(squares[2]->pixmap().toImage().pixel(9, 9), qRgb(0xEB, 0xEB, 0xEB));
    // A light grey like the window's own still shows its edge.
    EXPECT_EQ(squares[2]->pixmap().toImage().pixel(0, 0), kSwatchBorder);
    EXPECT_EQ(squares[2]->pixmap().toImage().pixel(17, 17), kSwatchBorder);
    EXPECT_EQ(squares[0]->geometry(), QRect(55, 66, 18, 18));
    EXPECT_EQ(squares[15]->geometry(), QRect(355, 66, 18, 18));
    EXPECT_EQ(indexes[15]->geometry(), QRect(357, 52, 18, 18));
    EXPECT_EQ(indexes[15]->text(), QStringLiteral("15"));

    // The preview follows the IFO's standard, with the sample lines of a fresh palette.
    EXPECT_EQ(c().preview->size(), QSize(720, 480));
    EXPECT_EQ(preview(), withSample());
}

TEST_F(PaletteCases, AMonocromaticIfoFallsBackToTheGenericPaletteAfterItsMessage) {
    // While the message shows, the generic palette is in and Load Ifo is off; the box is
    // ticked only once the user has closed it.
    QString duringMessage;
    prompts_.onMessage = [&](const QString&) {
        duringMessage = view().section(u' ', 0, 1) + u' ' + tooltips().value(1);
    };
    loadIfo(MonocromaticPalette(), VideoStandard::Ntsc);

    EXPECT_EQ(prompts_.messages, QStringList{kMonocromaticMessage});
    EXPECT_EQ(duringMessage, QStringLiteral("unticked no-load 858585"));
    EXPECT_EQ(view(), QStringLiteral("ticked no-load std-fixed NTSC roles 1030 ready -noIfo "
                                     "monoIfo swatches 16"));
    EXPECT_EQ(
        tooltips().mid(0, 5),
        (QStringList{QStringLiteral("000"), QStringLiteral("858585"), QStringLiteral("170170170"),
                     QStringLiteral("255255255"), QStringLiteral("000000")}));
    EXPECT_EQ(preview(), withSample());

    // Unticking leaves the flag; ticking again makes it the No Ifo case.
    tickNoIfo();
    EXPECT_EQ(view(), QStringLiteral("unticked load std-fixed NTSC roles 1030 -ready -noIfo "
                                     "monoIfo swatches 0"));
    tickNoIfo();
    EXPECT_EQ(view(), QStringLiteral("ticked no-load std-free NTSC roles 1030 ready noIfo "
                                     "-monoIfo swatches 16"));
}

TEST_F(PaletteCases, TheNoIfoBoxInstallsAndRemovesTheGenericPalette) {
    tickNoIfo();
    EXPECT_EQ(view(), QStringLiteral("ticked no-load std-free PAL roles 1030 ready noIfo -monoIfo "
                                     "swatches 16"));
    EXPECT_EQ(preview(), withSample());

    // The user chooses the standard: its bare picture shows.
    c().Ntsc->click();
    EXPECT_EQ(preview(), Background(VideoStandard::Ntsc));
    EXPECT_EQ(c().preview->size(), QSize(720, 480));

    pick(c().ComboBox3, QStringLiteral("Color 2"));
    tickNoIfo();
    EXPECT_EQ(view(), QStringLiteral("unticked load std-fixed NTSC roles 1020 -ready -noIfo "
                                     "-monoIfo swatches 0"));
    // Without a palette a role change draws nothing and no subtitle loads.
    const QImage before = preview();
    pick(c().ComboBox1, QStringLiteral("Color 3"));
    EXPECT_EQ(preview(), before);

    loadIfo(PolycromaticPalette());
    EXPECT_EQ(view(), QStringLiteral("unticked load std-fixed PAL roles 1020 ready -noIfo "
                                     "-monoIfo swatches 16"));
}

TEST_F(PaletteCases, AnUnreadableOrCancelledIfoChangesNothingButThePathField) {
    loadIfo(PolycromaticPalette(), VideoStandard::Ntsc);
    const QString loaded = view();
    const QStringList tips = tooltips();

    c().Button1->click();  // cancelled
    EXPECT_EQ(c().Edit1->text(), dir_.filePath(QStringLiteral("VTS_01_0.IFO")));

    const QString missing = dir_.filePath(QStringLiteral("missing.IFO"));
    prompts_.fileAnswers << missing;
    c().Button1->click();
    ASSERT_EQ(prompts_.messages.size(), 1);
    EXPECT_FALSE(prompts_.messages[0].isEmpty());
    EXPECT_EQ(c().Edit1->text(), missing);
    EXPECT_EQ(view(), loaded);
    EXPECT_EQ(tooltips(), tips);
}

// The DVD's own IFO is refused as it is chosen, naming the title set IFOs beside it, and
// changes nothing, not even the path field.
TEST_F(PaletteCases, TheDvdsOwnIfoIsRefusedAtLoad) {
    loadIfo(PolycromaticPalette(), VideoStandard::Pal);
    const QString loaded = view();
    const QString own = writeFile(QStringLiteral("VIDEO_TS.IFO"),
                                  IfoBytes(PolycromaticPalette(), VideoStandard::Ntsc));
    prompts_.fileAnswers << own;
    c().Button1->click();
    EXPECT_EQ(
        prompts_.takeMessages(),
        QStringList{own + QStringLiteral(" is the IFO of the whole DVD, not the IFO of a title "
                                         "set: load the IFO of the title set that will carry "
                                         "the subtitles, one of VTS_01_0.IFO beside it.")});
    EXPECT_EQ(view(), loaded);
    EXPECT_EQ(c().Edit1->text(), dir_.filePath(QStringLiteral("VTS_01_0.IFO")));
}

}  // namespace
}  // namespace marvoxa::test
