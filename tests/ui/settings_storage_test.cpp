// The settings file through real main windows: every choice survives a restart, the restore
// rules for missing, unreadable and out-of-range values, the window's placement, and where the
// file goes when the program's folder is read-only.

#include "ui/settings_storage.h"

#include "scripted_prompts.h"
#include "test_files.h"
#include "ui/form1_controls.h"
#include "ui/unit1.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failures; QString lives in the global namespace.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace marvoxa::test {
namespace {

using namespace Qt::Literals::StringLiterals;

// A comma after which a space follows, and letters beyond ASCII.
const QString kPalPicture = QStringLiteral("/home/jürgen/My pictures, 2020/Ελλάδα pal.bmp");
// A backslash, quotes, a semicolon and an equals sign.
const QString kNtscPicture = QStringLiteral("/srv/a\\b \"quoted\"; x=1/ntsc.bmp");

// One run of the program: the main window, centred, and its settings storage.
struct ProgramRun {
    ProgramRun(Prompts& prompts, const SettingsLocation& location)
        : form(prompts), storage(form, prompts, location) {
        // Closing a test's window must not end the test program.
        form.setAttribute(Qt::WA_QuitOnClose, false);
        form.centreOnScreen();
        centred = form.pos();
    }
    const Form1Controls& c() const { return form.controls(); }
    int pixelsPerInch() const { return qRound(form.screen()->logicalDotsPerInch()); }

    TForm1 form;
    SettingsStorage storage;
    QPoint centred;
};

// The ten stored control values in the order of the file.
QStringList StoredControlValues(const Form1Controls& c) {
    QStringList values;
    for (const QComboBox* list : {c.ComboBox5, c.ComboBox6, c.ComboBox7, c.ComboBox8,
                                  c.ComboBoxOutlineWidth, c.ComboBoxAlign}) {
        values << QString::number(list->currentIndex());
    }
    return values << QString::number(c.offset->value()) << QString::number(c.offset_or->value())
                  << c.LabelImageChangedPAL->text() << c.LabelImageChangedNTSC->text();
}

// Runs chattr on path; empty when it worked, else why not.
QString Chattr(const QString& flag, const QString& path) {
    QProcess chattr;
    chattr.start(QStringLiteral("chattr"), {flag, path});
    if (chattr.waitForFinished() && chattr.exitStatus() == QProcess::NormalExit &&
        chattr.exitCode() == 0) {
        return {};
    }
    return QString::fromLocal8Bit(chattr.readAllStandardError()) + chattr.errorString();
}

class SettingsStorageTest : public ::testing::Test {
protected:
    SettingsStorageTest() {
        location_.programFolder = root_.filePath(QStringLiteral("program"));
        location_.userFolder = root_.filePath(QStringLiteral("home/.config/Marvoxa"));
        QDir().mkpath(location_.programFolder);
    }

    QString programFile() const {
        return QDir(location_.programFolder).filePath(kSettingsFileName);
    }
    QString userFile() const { return QDir(location_.userFolder).filePath(kSettingsFileName); }

    // A run whose window has been shown, so the file has been read.
    std::unique_ptr<ProgramRun> startRun() {
        auto run = std::make_unique<ProgramRun>(prompts_, location_);
        run->form.show();
        return run;
    }
    std::unique_ptr<ProgramRun> startRunWithFile(const QString& text) {
        QFile file(programFile());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.close();
        return startRun();
    }
    int pixelsPerInch() { return ProgramRun(prompts_, location_).pixelsPerInch(); }

    QTemporaryDir root_;
    SettingsLocation location_;
    ScriptedPrompts prompts_;
};

// ---- Round trip ----

TEST_F(SettingsStorageTest, EveryChoiceAndThePlacementSurviveARestart) {
    auto first = startRun();
    const Form1Controls& c = first->c();
    ASSERT_GE(c.ComboBox5->count(), 2);
    c.ComboBox5->setCurrentIndex(c.ComboBox5->count() - 1);
    c.ComboBox6->setCurrentIndex(3);
    c.ComboBox7->setCurrentIndex(17);
    c.ComboBox8->setCurrentIndex(8);
    c.ComboBoxOutlineWidth->setCurrentIndex(2);
    c.ComboBoxAlign->setCurrentIndex(2);
    c.offset->setValue(491);
    c.offset_or->setValue(-14);
    c.LabelImageChangedPAL->setText(kPalPicture);
    c.LabelImageChangedNTSC->setText(kNtscPicture);
    first->form.move(37, 23);
    first->form.setWindowState(Qt::WindowMinimized);
    const QStringList chosen = StoredControlValues(c);
    const QSize frame = first->form.frameGeometry().size();
    first->form.close();

    // The section and the keys in their order; the window's values exactly.
    const QStringList lines =
        QString::fromUtf8(ReadFile(programFile())).split(u'\n', Qt::SkipEmptyParts);
    QStringList keys;
    for (const QString& line : lines) {
        keys << line.section(u'=', 0, 0);
    }
    EXPECT_EQ(
        keys,
        QStringList({u"[Form1]"_s, u"FormVersion"_s, u"ShowCmd"_s, u"Flags"_s, u"PixelsPerInch"_s,
                     u"MinMaxPos"_s, u"NormPos"_s, u"ComboBox5_ItemIndex"_s,
                     u"ComboBox6_ItemIndex"_s, u"ComboBox7_ItemIndex"_s, u"ComboBox8_ItemIndex"_s,
                     u"ComboBoxOutlineWidth_ItemIndex"_s, u"ComboBoxAlign_ItemIndex"_s,
                     u"offset_Position"_s, u"offset_or_Position"_s,
                     u"LabelImageChangedPAL_Caption"_s, u"LabelImageChangedNTSC_Caption"_s}));
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(
        lines.mid(1, 6),
        QStringList({u"FormVersion=0"_s, u"ShowCmd=2"_s, u"Flags=0"_s,
                     u"PixelsPerInch=%1"_s.arg(first->pixelsPerInch()), u"MinMaxPos=-1,-1,-1,-1"_s,
                     u"NormPos=37,23,%1,%2"_s.arg(37 + frame.width()).arg(23 + frame.height())}));

    // QSettings reads the same values.
    QSettings settings(programFile(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Form1"));
    QStringList readByQSettings;
    for (const QString& key : keys.mid(7)) {
        readByQSettings << settings.value(key).toString();
    }
    EXPECT_EQ(readByQSettings, chosen);
    first.reset();

    auto second = startRun();
    EXPECT_EQ(StoredControlValues(second->c()), chosen);
    EXPECT_EQ(second->c().LabelOffset->text(), QStringLiteral("491"));
    EXPECT_EQ(second->form.pos(), QPoint(37, 23));
    EXPECT_TRUE(second->form.windowState().testFlag(Qt::WindowMinimized));
    EXPECT_EQ(prompts_.messages, QStringList());
}

TEST_F(SettingsStorageTest, OptionsAreKeptAfterTheWindowsKeysOnlyOnceChanged) {
    auto first = startRun();
    first->form.setOptions(OptionsChoices{TextOptions{MarkupMode::Render, true, false}});
    first->form.close();
    const QStringList lines =
        QString::fromUtf8(ReadFile(programFile())).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 20);
    EXPECT_TRUE(lines[16].startsWith(u"LabelImageChangedNTSC_Caption="_s));
    EXPECT_EQ(lines.mid(17), QStringList({u"Options_Markup=render"_s, u"Options_Wrap=1"_s,
                                          u"Options_AllLines=0"_s}));
    first.reset();

    auto second = startRun();
    EXPECT_EQ(second->form.options(),
              (OptionsChoices{TextOptions{MarkupMode::Render, true, false}}));
    second->form.setOptions(OptionsChoices{});
    second->form.close();
    EXPECT_FALSE(QString::fromUtf8(ReadFile(programFile())).contains(u"Options_"_s));
    second.reset();

    // Unreadable values keep the defaults; the others apply.
    auto third =
        startRunWithFile(u"[Form1]\nOptions_Markup=html\nOptions_Wrap=yes\nOptions_AllLines=1\n"_s);
    EXPECT_EQ(third->form.options(), (OptionsChoices{TextOptions{.allLines = true}}));
}

TEST_F(SettingsStorageTest, ExtraOutputsAreKeptAfterTheTextOptions) {
    const OptionsChoices chosen{TextOptions{.wrap = true},
                                ExtraOutputChoices{false, true, u"el"_s}};
    auto first = startRun();
    first->form.setOptions(chosen);
    first->form.close();
    const QStringList lines =
        QString::fromUtf8(ReadFile(programFile())).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines.mid(17, 3).join(u' '),
              u"Options_Markup=text Options_Wrap=1 Options_AllLines=0"_s);
    EXPECT_EQ(lines.mid(20), QStringList({u"Options_VobSub=0"_s, u"Options_Dvdauthor=1"_s,
                                          u"Options_Language=el"_s}));
    first.reset();
    EXPECT_EQ(startRun()->form.options(), chosen);

    auto third = startRunWithFile(
        u"[Form1]\nOptions_VobSub=1\nOptions_Dvdauthor=2\nOptions_Language=English\n"_s);
    EXPECT_EQ(third->form.options().outputs, (ExtraOutputChoices{.vobSub = true}));
}

TEST_F(SettingsStorageTest, ForcedTheDvdAndTheAspectAreKeptLastAndOnlyWhenChosen) {
    OptionsChoices chosen;
    chosen.forced = true;
    chosen.intoDvd = true;
    chosen.dvdTitle = 2;
    chosen.dvdFolder = u"/films/Rethymno with Greek"_s;
    for (const AspectChoice aspect :
         {AspectChoice::FromIfo, AspectChoice::FourByThree, AspectChoice::Wide}) {
        chosen.aspect = aspect;
        auto first = startRun();
        first->form.setOptions(chosen);
        first->form.close();
        const QStringList lines =
            QString::fromUtf8(ReadFile(programFile())).split(u'\n', Qt::SkipEmptyParts);
        QStringList expected{u"Options_Forced=1"_s, u"Options_IntoDvd=1"_s, u"Options_DvdTitle=2"_s,
                             u"Options_DvdFolder=/films/Rethymno with Greek"_s};
        if (aspect != AspectChoice::FromIfo) {
            expected << (aspect == AspectChoice::Wide ? u"Options_Aspect=16:9"_s
                                                      : u"Options_Aspect=4:3"_s);
        }
        EXPECT_EQ(lines.mid(17), expected);
        first.reset();
        EXPECT_EQ(startRun()->form.options(), chosen);
    }
    EXPECT_EQ(startRunWithFile(u"[Form1]\nOptions_Aspect=21:9\n"_s)->form.options().aspect,
              AspectChoice::FromIfo);
}

TEST_F(SettingsStorageTest, FurtherStreamsKeepTheirLanguagesLastButNotTheirFiles) {
    OptionsChoices chosen;
    chosen.forced = true;
    chosen.moreStreams = {
        {u"/films/a.fr.srt"_s, u"fr"_s}, {u"/films/b.srt"_s, QString()}, {QString(), u"de"_s}};
    auto first = startRun();
    first->form.setOptions(chosen);
    first->form.close();
    const QStringList lines =
        QString::fromUtf8(ReadFile(programFile())).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.mid(17),
              (QStringList{u"Options_Forced=1"_s, u"Options_MoreStreamLanguages=\"fr,,de\""_s}));
    first.reset();
    EXPECT_EQ(startRun()->form.options().moreStreams,
              (QList<StreamChoice>{{QString(), u"fr"_s}, {}, {QString(), u"de"_s}}));

    auto third = startRunWithFile(u"[Form1]\nOptions_MoreStreamLanguages=FR, it\n"_s);
    EXPECT_EQ(third->form.options().moreStreams, (QList<StreamChoice>{{}, {QString(), u"it"_s}}));
}

TEST_F(SettingsStorageTest, TheBlurayStreamAndItsSizeAreKeptAfterTheOthers) {
    OptionsChoices chosen;
    chosen.forced = true;
    chosen.outputs.pgs = true;
    chosen.outputs.pgsSize = QSize(1280, 720);
    auto first = startRun();
    first->form.setOptions(chosen);
    first->form.close();
    const QStringList lines =
        QString::fromUtf8(ReadFile(programFile())).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.mid(17), (QStringList{u"Options_Forced=1"_s, u"Options_Pgs=1"_s,
                                          u"Options_PgsSize=1280x720"_s}));
    first.reset();
    EXPECT_EQ(startRun()->form.options(), chosen);
    const auto unreadable = startRunWithFile(u"[Form1]\nOptions_Pgs=1\nOptions_PgsSize=1x1\n"_s);
    EXPECT_EQ(unreadable->form.options().outputs, (ExtraOutputChoices{.pgs = true}));
}

TEST_F(SettingsStorageTest, AFileWrittenByQSettingsIsRestored) {
    const int pixelsPerInch = this->pixelsPerInch();
    {
        QSettings settings(programFile(), QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("Form1"));
        settings.setValue(QStringLiteral("PixelsPerInch"), pixelsPerInch);
        settings.setValue(QStringLiteral("NormPos"), QStringLiteral("41,29,848,738"));
        settings.setValue(QStringLiteral("ComboBox8_ItemIndex"), 4);
        settings.setValue(QStringLiteral("offset_Position"), 100);
        settings.setValue(QStringLiteral("LabelImageChangedPAL_Caption"), kPalPicture);
        settings.setValue(QStringLiteral("LabelImageChangedNTSC_Caption"), kNtscPicture);
    }

    auto run = startRun();
    EXPECT_EQ(run->form.pos(), QPoint(41, 29));
    EXPECT_EQ(run->c().ComboBox8->currentIndex(), 4);
    EXPECT_EQ(run->c().offset->value(), 100);
    EXPECT_EQ(run->c().LabelImageChangedPAL->text(), kPalPicture);
    EXPECT_EQ(run->c().LabelImageChangedNTSC->text(), kNtscPicture);
}

// ---- Restore rules ----

TEST_F(SettingsStorageTest, MissingAndUnreadableValuesKeepTheDefaultsAndTheOthersApply) {
    QStringList expected = StoredControlValues(ProgramRun(prompts_, location_).c());
    expected[2] = QStringLiteral("17");  // ComboBox7
    expected[7] = QStringLiteral("6");   // offset_or

    auto run = startRunWithFile(
        QStringLiteral("[Form1]\r\nNormPos=left,top,right,bottom\r\nComboBox6_ItemIndex=large\r\n"
                       "ComboBox7_ItemIndex=17\r\noffset_Position=\r\noffset_or_Position=6\r\n"));
    EXPECT_EQ(StoredControlValues(run->c()), expected);
    EXPECT_EQ(run->form.pos(), run->centred);
    EXPECT_FALSE(run->form.windowState().testFlag(Qt::WindowMinimized));
}

TEST_F(SettingsStorageTest, PositionsOutsideTheirRangeGiveValidValues) {
    auto run = startRunWithFile(QStringLiteral(
        "[Form1]\nComboBox5_ItemIndex=100000\nComboBox6_ItemIndex=99\nComboBox7_ItemIndex=-1\n"
        "ComboBoxAlign_ItemIndex=3\noffset_Position=1000\noffset_or_Position=-40\n"));
    // A list position outside the list selects the list's start-up entry.
    EXPECT_EQ(run->c().ComboBox5->currentText(), QStringLiteral("Arial"));
    EXPECT_EQ(run->c().ComboBox6->currentText(), QStringLiteral("22"));
    EXPECT_EQ(run->c().ComboBox7->currentText(), QStringLiteral("DEFAULT"));
    EXPECT_EQ(run->c().ComboBoxAlign->currentText(), QStringLiteral("center"));
    // Track bars stop at their ends.
    EXPECT_EQ(run->c().offset->value(), 492);
    EXPECT_EQ(run->c().LabelOffset->text(), QStringLiteral("492"));
    EXPECT_EQ(run->c().offset_or->value(), -14);
}

TEST_F(SettingsStorageTest, AnOddLineOverlapBecomesTheNextEvenValue) {
    auto run = startRunWithFile(QStringLiteral("[Form1]\noffset_or_Position=-13\n"));
    EXPECT_EQ(run->c().offset_or->value(), -12);
    EXPECT_EQ(run->c().LabelOffset_Or->text(), QStringLiteral("-12"));
}

TEST_F(SettingsStorageTest, TheWindowStaysCentredForAnotherPixelDensityOrAPlaceOffScreen) {
    const int pixelsPerInch = this->pixelsPerInch();
    const QString file = QStringLiteral("[Form1]\nPixelsPerInch=%1\nNormPos=%2\n");

    auto otherDensity = startRunWithFile(file.arg(pixelsPerInch + 24).arg(u"37,23,844,732"_s));
    EXPECT_EQ(otherDensity->form.pos(), otherDensity->centred);
    otherDensity.reset();

    auto offScreen = startRunWithFile(file.arg(pixelsPerInch).arg(u"9000,9000,9807,9709"_s));
    EXPECT_EQ(offScreen->form.pos(), offScreen->centred);
}

// ---- Where the file goes ----

TEST_F(SettingsStorageTest, AWritableProgramFolderHoldsTheFileAndNothingElse) {
    EXPECT_EQ(SettingsFilePath(location_), programFile());
    // The probe that proved the folder writable is gone.
    EXPECT_TRUE(QDir(location_.programFolder).isEmpty());
}

// Root may write to /usr/bin, yet an installed copy keeps its settings in the user's folder.
TEST(SettingsLocation, AProgramUnderUsrNeverKeepsItsSettingsBesideItself) {
    for (const char* installed :
         {"/usr/bin", "/usr/local/bin", "/usr/lib/marvoxa/", "/usr", "/opt/../usr/bin"}) {
        EXPECT_TRUE(IsSystemProgramFolder(QLatin1String(installed))) << installed;
    }
    for (const char* portable :
         {"/home/me/marvoxa/build/src/app", "/usrlocal/bin", "/opt/marvoxa", "/", "/srv/usr/bin"}) {
        EXPECT_FALSE(IsSystemProgramFolder(QLatin1String(portable))) << portable;
    }
}

TEST_F(SettingsStorageTest, AReadOnlyProgramFolderSendsTheFileToTheUserFolder) {
    // Immutable: not even root can create a file there.
    if (const QString refusal = Chattr(QStringLiteral("+i"), location_.programFolder);
        !refusal.isEmpty()) {
        GTEST_SKIP() << "the file system refuses chattr +i: " << refusal.toStdString();
    }
    const auto mutableAgain =
        qScopeGuard([this] { Chattr(QStringLiteral("-i"), location_.programFolder); });

    auto first = startRun();
    EXPECT_EQ(first->storage.filePath(), userFile());
    first->c().ComboBox6->setCurrentIndex(20);
    first->form.close();
    EXPECT_TRUE(QFileInfo::exists(userFile()));
    EXPECT_TRUE(QDir(location_.programFolder).isEmpty());
    EXPECT_EQ(prompts_.messages, QStringList());
    first.reset();

    EXPECT_EQ(startRun()->c().ComboBox6->currentIndex(), 20);
}

TEST_F(SettingsStorageTest, AFileThatCannotBeWrittenIsReportedOnceAtClose) {
    // The user folder lies inside the read-only program folder, so it cannot be made either.
    location_.userFolder = QDir(location_.programFolder).filePath(QStringLiteral("config"));
    if (const QString refusal = Chattr(QStringLiteral("+i"), location_.programFolder);
        !refusal.isEmpty()) {
        GTEST_SKIP() << "the file system refuses chattr +i: " << refusal.toStdString();
    }
    const auto mutableAgain =
        qScopeGuard([this] { Chattr(QStringLiteral("-i"), location_.programFolder); });

    auto run = startRun();
    EXPECT_EQ(prompts_.messages, QStringList());
    run->form.close();
    ASSERT_EQ(prompts_.messages.size(), 1);
    // The file and, after it, the reason.
    EXPECT_TRUE(prompts_.messages[0].contains(QDir::toNativeSeparators(userFile()) + u':'))
        << prompts_.messages[0].toStdString();

    // Closing again tries again but says nothing more.
    run->form.show();
    run->form.close();
    EXPECT_EQ(prompts_.messages.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(userFile()));
}

}  // namespace
}  // namespace marvoxa::test
