// "Generate Sup" in the main window: the gates, the files, the report of each palette case, the
// progress bar, the frames in the preview and the lock while it runs.

#include "main_window_fixture.h"
#include "sup_stream_reader.h"
#include "test_files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace marvoxa::test {
namespace {

const QStringList kWithIfoLines{
    QStringLiteral("All Done !!! (Case : With Ifo)"),
    QStringLiteral("Since you already had an ifo with polycromatic palette support , Marvoxa "
                   "generated for you a sup with the same ifo pallette."),
    QStringLiteral("Just author your video with the generated sup using Ifoedit."),
    QStringLiteral("After authoring the new dvd, load the original ifo (the ifo that you have "
                   "loaded on Marvoxa) on Ifoedit and press VTS_PGCITI and then VTS_PGC1."),
    QStringLiteral("Then press Subtitle Color, Copy Colors from this PGC"),
    QStringLiteral("Then load (the generated from Ifoedit) VTS_01_0.IFO on Ifoedit and press "
                   "VTS_PGCITI and then VTS_PGC1"),
    QStringLiteral("Then press Subtitle Color, Paste Colors into this PGC"),
    QStringLiteral("Then press save. Thats all."),
};

const QList<QPair<QString, QString>> kThreeCues{{QStringLiteral("One"), QString()},
                                                {QStringLiteral("Two"), QStringLiteral("lines")},
                                                {QStringLiteral("Three"), QString()}};

class Generation : public MainWindowTest {
protected:
    QString streamPath() const { return dir_.filePath(QStringLiteral("Generated.sup")); }
    QString helpPath() const { return dir_.filePath(QStringLiteral("Marvoxa_Help_File.txt")); }

    void loadThreeCues() {
        loadSubtitle(QStringLiteral("movie.srt"), SrtBytes(kThreeCues));
        ASSERT_TRUE(form_->subsLoaded());
        prompts_.takeMessages();
    }
    QString generate() {
        c().Button3->click();
        const QStringList shown = prompts_.takeMessages();
        EXPECT_EQ(shown.size(), 1) << shown.join(u'|').toStdString();
        return shown.value(0);
    }
};

TEST_F(Generation, WritesTheChosenExtraOutputsAndListsThemAfterTheReport) {
    tickNoIfo();
    loadThreeCues();
    form_->setOptions(
        {.outputs = {.vobSub = true, .dvdauthor = true, .language = QStringLiteral("de")}});
    c().Button3->click();
    const QStringList shown = prompts_.takeMessages();
    ASSERT_EQ(shown.size(), 2) << shown.join(u'|').toStdString();
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("All Done !!! (Case : No Ifo)")));
    const QStringList lines = shown[1].split(QLatin1Char('\r'));
    EXPECT_EQ(lines.mid(0, 7),
              (QStringList{QStringLiteral("Also generated:"),
                           dir_.filePath(QStringLiteral("Generated.idx")),
                           dir_.filePath(QStringLiteral("Generated.sub")),
                           dir_.filePath(QStringLiteral("Generated_spumux.xml")),
                           dir_.filePath(QStringLiteral("Generated_spumux/0001.png")),
                           dir_.filePath(QStringLiteral("Generated_spumux/0002.png")),
                           dir_.filePath(QStringLiteral("Generated_spumux/0003.png"))}));
    for (const QString& path : lines.mid(1, 6)) {
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
    EXPECT_TRUE(shown[1].contains(QStringLiteral("dvdauthor -o DVD -t -s de subtitled.mpg")));
    EXPECT_TRUE(test::ReadFile(dir_.filePath(QStringLiteral("Generated.idx")))
                    .contains("\nid: de, index: 0\n"));
}

TEST_F(Generation, NeedsAPassedSubtitleAndAPalette) {
    tickNoIfo();
    EXPECT_EQ(generate(), QStringLiteral("Please load an Srt/Sub/Txt subtitle."));
    loadThreeCues();
    tickNoIfo();  // unticked after loading: no palette any more
    EXPECT_EQ(generate(),
              QStringLiteral("Please load an Ifo file first and then an Srt/Sub/Txt file."));
    EXPECT_FALSE(QFile::exists(streamPath()));
    EXPECT_FALSE(QFile::exists(helpPath()));
}

TEST_F(Generation, WithIfoWritesBothFilesNextToTheSubtitleAndReportsThem) {
    loadIfo(PolycromaticPalette());
    loadThreeCues();
    EXPECT_EQ(generate(), kWithIfoLines.join(u'\r') + QStringLiteral("\r\rGenerated Files:\r") +
                              streamPath() + u'\r' + helpPath());

    const QList<SupStreamPacket> packets = ReadSupStream(ReadFile(streamPath()));
    ASSERT_EQ(packets.size(), 3);
    EXPECT_EQ(packets[2].presentationTime, 5000 * 90);
    EXPECT_EQ(ReadFile(helpPath()),
              (kWithIfoLines.join(QStringLiteral("\r\n")) +
               QStringLiteral("\r\n\r\n\r\nGenerated Files:\r\n") + streamPath() +
               QStringLiteral("\r\n") + helpPath() + QStringLiteral("\r\n"))
                  .toUtf8());
    // The bar spans the cues; the preview keeps the last blue frame.
    EXPECT_EQ(c().ProgressBar1->maximum(), 2);
    EXPECT_EQ(c().ProgressBar1->value(), 2);
    EXPECT_EQ(preview().pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(Generation, ReportsThePaletteCaseTheBoxAndFlagsTell) {
    // Steps before loading the subtitle: "mono" loads a monocromatic IFO, "tick" clicks the box.
    const QList<QPair<QStringList, QString>> cases{
        {{QStringLiteral("mono")}, QStringLiteral("All Done !!! (Case : Monocromatic Ifo)")},
        {{QStringLiteral("tick")}, QStringLiteral("All Done !!! (Case : No Ifo)")},
        // Ticking again after a monocromatic IFO is the user's own choice.
        {{QStringLiteral("mono"), QStringLiteral("tick"), QStringLiteral("tick")},
         QStringLiteral("All Done !!! (Case : No Ifo)")},
    };
    for (const auto& [steps, firstLine] : cases) {
        form_ = std::make_unique<TForm1>(prompts_);
        for (const QString& step : steps) {
            if (step == QStringLiteral("mono")) {
                loadIfo(MonocromaticPalette());
            } else {
                tickNoIfo();
            }
        }
        prompts_.takeMessages();
        loadThreeCues();
        const QString report = generate();
        EXPECT_TRUE(report.startsWith(firstLine + u'\r')) << report.toStdString();
        EXPECT_TRUE(report.contains(QStringLiteral("put the value: FF 80 80\r")));
        EXPECT_TRUE(ReadFile(helpPath()).startsWith((firstLine + QStringLiteral("\r\n")).toUtf8()));
    }
}

TEST_F(Generation, LocksTheWindowWhileItRunsAndGivesEverythingBack) {
    tickNoIfo();
    c().Ntsc->click();
    loadThreeCues();

    QStringList seen;
    QObject::connect(c().ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
        int enabled = 0;
        for (QWidget* input : c().inputControls()) {
            enabled += input->isEnabled() ? 1 : 0;
        }
        seen << QStringLiteral("at %1 generating %2 enabled %3 blue %4")
                    .arg(value)
                    .arg(form_->generating())
                    .arg(enabled)
                    .arg(preview().pixel(0, 0) == qRgb(0, 0, 255));
        c().Button2->click();  // must not start a load
    });
    generate();

    // The third step stays at the maximum; from the second cue on the last frame shows. Only
    // "Generate Sup" stays enabled: it reads "Cancel" meanwhile.
    EXPECT_EQ(seen, (QStringList{QStringLiteral("at 1 generating 1 enabled 1 blue 0"),
                                 QStringLiteral("at 2 generating 1 enabled 1 blue 1")}));
    EXPECT_EQ(prompts_.dialogs.size(), 1);
    EXPECT_FALSE(form_->generating());
    EXPECT_EQ(PaletteView(*form_).section(u' ', 0, 3),
              QStringLiteral("ticked no-load std-free NTSC"));
    EXPECT_TRUE(c().Button2->isEnabled());
    EXPECT_TRUE(c().ComboBox6->isEnabled());
    EXPECT_EQ(preview().size(), QSize(720, 480));
}

TEST_F(Generation, AnErrorIsShownAndUnlocksTheWindow) {
    tickNoIfo();
    QDir(dir_.path()).mkdir(QStringLiteral("gone"));
    loadSubtitle(QStringLiteral("gone/movie.srt"), SrtBytes(kThreeCues));
    prompts_.takeMessages();
    ASSERT_TRUE(QDir(dir_.filePath(QStringLiteral("gone"))).removeRecursively());

    const QString shown = generate();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_FALSE(shown.startsWith(QStringLiteral("All Done")));
    EXPECT_FALSE(form_->generating());
    EXPECT_TRUE(c().Button3->isEnabled());
}

// A folder in the help file's place cannot be replaced by a file.
TEST_F(Generation, AHelpFileThatCannotBeWrittenIsReportedInsteadOfSuccess) {
    tickNoIfo();
    loadThreeCues();
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Marvoxa_Help_File.txt")));

    const QString shown = generate();
    EXPECT_FALSE(shown.contains(QStringLiteral("All Done"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(helpPath())) << shown.toStdString();
}

TEST_F(Generation, WritesAStreamForEachFurtherFileOrNoneWhenALanguageIsMissing) {
    tickNoIfo();
    loadThreeCues();
    const QString french = writeFile(QStringLiteral("movie.fre.srt"), SrtBytes(kThreeCues.mid(1)));
    const QString unnamed = writeFile(QStringLiteral("other.srt"), SrtBytes(kThreeCues.mid(2)));
    form_->setOptions(
        {.outputs = {.vobSub = true, .language = QStringLiteral("de")},
         .moreStreams = {
             {french, QString()}, {QString(), QStringLiteral("el")}, {unnamed, QString()}}});
    c().Button3->click();
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("The language of %1 is not known: type it beside the file "
                                         "under \"More subtitle streams\" in Options..., or name "
                                         "the file with it, such as film.fr.srt.")
                              .arg(unnamed)});
    EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("Generated*")}), QStringList{});

    // The row without a file is passed over.
    OptionsChoices choices = form_->options();
    choices.moreStreams[2].language = QStringLiteral("fr");
    form_->setOptions(choices);
    c().Button3->click();
    const QStringList shown = prompts_.takeMessages();
    ASSERT_EQ(shown.size(), 2) << shown.join(u'|').toStdString();
    const QStringList streams{dir_.filePath(QStringLiteral("Generated.de.sup")),
                              dir_.filePath(QStringLiteral("Generated.fr.sup")),
                              dir_.filePath(QStringLiteral("Generated.fr.2.sup"))};
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral("Generated Files:\r") + streams.join(u'\r') +
                                  QLatin1Char('\r') + helpPath()))
        << shown[0].toStdString();
    const qsizetype packets[] = {3, 2, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadSupStream(ReadFile(streams[i])).size(), packets[i]) << i;
    }
    EXPECT_EQ(c().ProgressBar1->maximum(), 5);
    EXPECT_TRUE(
        ReadFile(dir_.filePath(QStringLiteral("Generated.idx"))).contains("\nid: fr, index: 2\n"));
}

}  // namespace
}  // namespace marvoxa::test
