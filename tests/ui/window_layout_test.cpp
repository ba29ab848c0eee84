// The main window's geometry: every named control at its place inside the client area, captions
// that fit their controls, and a picture of the window after a real job for a person to look at.

#include "main_window_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace marvoxa::test {
namespace {

// Where a control must stand; -1 where the place leaves a size open.
struct Place {
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

constexpr Place kPlaces[] = {
    {"Edit1", 8, 5, 84, 15},
    {"Button1", 8, 20, 84, 20},
    {"i_dont_have_ifo", 94, 0, 15, 17},
    {"no_ifo", -1, -1, 84, 39},
    {"Pal", 94, 38, -1, -1},
    {"Ntsc", 136, 38, -1, -1},
    {"Label3", 184, 0, -1, -1},
    {"Label4", 272, 0, -1, -1},
    {"Label5", 360, 0, -1, -1},
    {"Label6", 448, 0, -1, -1},
    {"ComboBox1", 184, 16, -1, -1},
    {"ComboBox2", 272, 16, -1, -1},
    {"ComboBox3", 360, 16, -1, -1},
    {"ComboBox4", 448, 16, -1, -1},
    {"CheckBox1", 184, 37, -1, -1},
    {"CheckBox2", 272, 37, -1, -1},
    {"CheckBox3", 360, 37, -1, -1},
    {"CheckBox4", 448, 37, -1, -1},
    {"Label2", 8, 52, -1, -1},
    {"Shape2", 580, 2, 80, 82},
    {"colors", 664, 14, 73, 73},
    {"ButtonAbout", 745, 4, 54, 25},
    {"BitBtnSetDefaultValues", 745, 32, 54, 25},
    {"BitBtnChangeImage", 744, 60, 54, 25},
    {"Edit2", 8, 88, 84, 15},
    {"Button2", 8, 106, 84, 18},
    {"ComboBox5", 96, 102, 81, -1},
    {"ComboBox7", 184, 102, 81, -1},
    {"ComboBox8", 272, 102, 81, -1},
    {"ComboBox6", 356, 102, 40, -1},
    {"ComboBoxAlign", 402, 102, 55, -1},
    {"offset", 456, 108, 60, 17},
    {"offset_or", 514, 90, 15, 36},
    {"ComboBoxOutlineWidth", 536, 102, 36, -1},
    {"ProgressBar1", 580, 91, 80, 15},
    {"Button3", 580, 106, 80, 18},
    {"ListBox1", 664, 92, 131, 32},
    {"preview", 40, 126, 720, 576},
};

// Captions of every kind, by control name, exactly as the user reads them.
const QList<QPair<const char*, QString>> kCaptions{
    {"Button1", QStringLiteral("Load Ifo")},
    {"Button2", QStringLiteral("Load Srt ,Sub")},
    {"Button3", QStringLiteral("Generate Sup")},
    {"ButtonAbout", QStringLiteral("About")},
    {"no_ifo", QStringLiteral("     I dont have any Ifo or my Ifo hasnt sup support")},
    {"Label1", QStringLiteral("ATTENTION")},
    {"Info",
     QStringLiteral("For Antialias ,Outline and Text color please dont pick a blue color.")},
    {"Label2", QStringLiteral("Ifo Colors:")},
    {"Label3", QStringLiteral("Antialias Color")},
    {"Label4", QStringLiteral("Outine Color")},
    {"Label5", QStringLiteral("Text Color")},
    {"Label6", QStringLiteral("Background Color")},
    {"Label7", QStringLiteral("Colors Example")},
    {"Label8", QStringLiteral("Font Name")},
    {"Label9", QStringLiteral("Font Size")},
    {"Label10", QStringLiteral("Offsets")},
    {"Label11", QStringLiteral("Font Charset")},
    {"Label12", QStringLiteral("Font Style")},
    {"LabelAlign", QStringLiteral("Align")},
    {"Label13", QStringLiteral("Outline")},
    {"CheckBox1", QStringLiteral("Trasparent")},
    {"CheckBox4", QStringLiteral("Trasparent")},
    {"Pal", QStringLiteral("Pal")},
    {"Ntsc", QStringLiteral("Ntsc")},
};

QString CaptionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    return {};
}

class WindowLayout : public MainWindowTest {
protected:
    QWidget* control(const char* name) const {
        return form_->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    }
};

TEST_F(WindowLayout, EveryNamedControlStandsAtItsPlaceInsideTheClientArea) {
    EXPECT_EQ(form_->size(), QSize(803, 705));
    EXPECT_EQ(form_->minimumSize(), form_->maximumSize()) << "fixed size";
    EXPECT_FALSE(form_->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QRect client(0, 0, 803, 705);
    for (const Place& place : kPlaces) {
        const QWidget* widget = control(place.name);
        ASSERT_NE(widget, nullptr) << place.name;
        const QRect at = widget->geometry();
        if (place.left >= 0) {
            EXPECT_EQ(at.topLeft(), QPoint(place.left, place.top)) << place.name;
        }
        if (place.width >= 0) {
            EXPECT_EQ(at.width(), place.width) << place.name;
        }
        if (place.height >= 0) {
            EXPECT_EQ(at.height(), place.height) << place.name;
        }
    }
    for (const QWidget* child : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden()) {
            EXPECT_TRUE(client.contains(child->geometry()))
                << child->objectName().toStdString() << " leaves the client area";
        }
    }
    EXPECT_TRUE(control("LabelImageChangedPAL")->isHidden());
    EXPECT_TRUE(control("LabelImageChangedNTSC")->isHidden());
}

TEST_F(WindowLayout, CaptionsReadAsWrittenAndFitTheirControls) {
    for (const auto& [name, caption] : kCaptions) {
        const QWidget* widget = control(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(CaptionOf(widget), caption) << name;

        const QFontMetrics metrics(widget->font());
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label != nullptr && label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << name << ": the wrapped text is cut at the bottom";
        } else if (label != nullptr) {
            EXPECT_LE(metrics.horizontalAdvance(caption), label->width()) << name;
            EXPECT_LE(metrics.height(), label->height() + 2) << name;
        } else if (qobject_cast<const QPushButton*>(widget) != nullptr) {
            EXPECT_LE(metrics.horizontalAdvance(caption) + 8, widget->width()) << name;
        } else {
            EXPECT_LE(widget->sizeHint().width(), widget->width()) << name;
        }
    }
}

// Saves the window after the bundled example was loaded and a cue restyled, for a person to
// look at; and checks that the preview then shows the cue.
TEST_F(WindowLayout, PictureOfTheWindowAfterARealJob) {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));

    tickNoIfo();
    const QString example = QStringLiteral(MARVOXA_EXAMPLES_DIR "/rethymno.srt");
    ASSERT_TRUE(QFileInfo::exists(example)) << example.toStdString();
    prompts_.fileAnswers << example;
    c().Button2->click();
    EXPECT_EQ(prompts_.takeMessages(),
              QStringList{QStringLiteral("Subtitle Style Modified/Loaded Successfully")});
    ASSERT_EQ(c().ListBox1->count(), 12);
    selectCue(3);
    pick(c().ComboBox8, QStringLiteral("Bold"));
    EXPECT_EQ(preview(), backgroundWith(QStringLiteral("Café, ouzo, and the smell of bread —"),
                                        QStringLiteral("the old town comes alive.")));

    const QImage picture = form_->grab().toImage();
    EXPECT_EQ(picture.size(), QSize(803, 705) * form_->devicePixelRatioF());
    const QString path = QStringLiteral(MARVOXA_SCREENSHOT_PATH);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
}

}  // namespace
}  // namespace marvoxa::test
