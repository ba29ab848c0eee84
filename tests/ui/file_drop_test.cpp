// Files dropped onto the main window, the folders its file dialogs open in, and its icon.

#include "ui/file_drop.h"
#include "main_window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace marvoxa::test {
namespace {

class FileDropping : public MainWindowTest {
protected:
    // Drags path over the window and drops it there; whether the window took it.
    bool drop(const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint middle = form_->rect().center();
        QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form_.get(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form_.get(), &dropped);
        return dropped.isAccepted();
    }
};

TEST_F(FileDropping, ADroppedFileLoadsAsItsButtonWould) {
    const QString subtitle =
        writeFile(QStringLiteral("film.SRT"), SrtBytes({{QStringLiteral("Dropped"), QString()}}));
    // As "Load Srt ,Sub" without a palette: refused.
    EXPECT_TRUE(drop(subtitle));
    EXPECT_EQ(
        prompts_.takeMessages(),
        QStringList{QStringLiteral("Please load an Ifo file first and then an Srt/Sub/Txt file.")});

    const QString ifo = writeFile(QStringLiteral("VTS_01_0.IFO"),
                                  IfoBytes(PolycromaticPalette(), VideoStandard::Ntsc));
    EXPECT_TRUE(drop(ifo));
    EXPECT_EQ(c().Edit1->text(), ifo);
    EXPECT_EQ(PaletteView(*form_), QStringLiteral("unticked load std-fixed NTSC roles 1020 ready "
                                                  "-noIfo -monoIfo swatches 16"));
    EXPECT_TRUE(drop(subtitle));
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("Subtitle Style Modified/Loaded Successfully")});
    EXPECT_EQ(c().ListBox1->item(0)->text(), QStringLiteral("Dropped"));
    EXPECT_TRUE(prompts_.dialogs.isEmpty()) << "no dialog for a dropped file";

    // Files the window does not read are not taken.
    for (const char* name : {"picture.png", "VTS_01_1.VOB"}) {
        EXPECT_FALSE(drop(writeFile(QLatin1String(name), "x"))) << name;
    }
    EXPECT_EQ(KindOfDroppedFile(QStringLiteral("/films/a.mkv")), DroppedFile::Subtitle);
    EXPECT_TRUE(prompts_.messages.isEmpty());
}

// Each kind of file has its own folder: the IFO's on the DVD, the subtitle's beside the film.
// The window shows its icon.
TEST_F(FileDropping, DialogsOpenWhereTheirKindOfFileWasLastChosen) {
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("DVD/VIDEO_TS")));
    const QString ifo = writeFile(QStringLiteral("DVD/VIDEO_TS/VTS_01_0.IFO"),
                                  IfoBytes(PolycromaticPalette(), VideoStandard::Pal));
    prompts_.fileAnswers << ifo;
    c().Button1->click();
    loadSubtitle(QStringLiteral("film.srt"), SrtBytes({{QStringLiteral("One"), QString()}}));
    c().Button1->click();            // cancelled
    c().Button2->click();            // cancelled
    c().BitBtnChangeImage->click();  // both cancelled
    QStringList folders;
    for (const ScriptedPrompts::Dialog& dialog : prompts_.dialogs) {
        folders << dialog.folder;
    }
    EXPECT_EQ(folders,
              (QStringList{QString(), QString(), dir_.filePath(QStringLiteral("DVD/VIDEO_TS")),
                           dir_.path(), QString(), QString()}));
    // Every file the subtitle dialog reads is offered at first sight.
    EXPECT_TRUE(prompts_.dialogs[1].filter.startsWith(
        QStringLiteral("All supported files (*.srt *.sub *.txt *.vtt *.ass *.ssa *.mkv")));
    EXPECT_FALSE(form_->windowIcon().isNull());
}

}  // namespace
}  // namespace marvoxa::test
