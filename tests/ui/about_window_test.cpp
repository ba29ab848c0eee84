#include "ui/unit2.h"

#include "common/version.h"
#include "ui/updater.h"
#include "updater_recording_prompts.h"
#include "updater_test_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QNetworkProxy>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

namespace marvoxa {
namespace {

using test::RecordingPrompts;
using test::UpdaterTestServer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    template <typename T = QWidget>
    T* Control(const char* name) {
        T* control = form_.findChild<T*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    RecordingPrompts prompts_;
    TForm2 form_{prompts_};
};

// --- The window and its controls ---

TEST_F(AboutWindowTest, IsAnAlwaysOnTopToolWindowOfFixedSize) {
    EXPECT_EQ(form_.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(form_.windowType(), Qt::Tool);
    EXPECT_TRUE(form_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form_.size(), QSize(316, 463));
    EXPECT_EQ(form_.minimumSize(), form_.maximumSize()) << "the user cannot resize it";
    EXPECT_TRUE(form_.isHidden()) << "made hidden; the main window shows it";
}

TEST_F(AboutWindowTest, EveryControlSitsWhereItBelongs) {
    struct Placed {
        const char* name;
        QRect geometry;
    };
    for (const Placed& placed : {
             Placed{"Image1", {8, 8, 81, 81}},
             Placed{"Label1", {96, 8, 201, 81}},
             Placed{"Memo1", {5, 128, 305, 177}},
             Placed{"Button1", {48, 360, 201, 25}},
             Placed{"ButtonCheckVersion", {48, 392, 201, 25}},
             Placed{"ImageDonate", {184, 423, 65, 33}},
         }) {
        if (const QWidget* control = Control(placed.name)) {
            EXPECT_EQ(control->geometry(), placed.geometry) << placed.name;
        }
    }
    // Labels of natural size: only their place is fixed.
    struct Anchored {
        const char* name;
        QPoint topLeft;
    };
    for (const Anchored& anchored : {
             Anchored{"Label2", {16, 96}},
             Anchored{"Label3", {80, 112}},
             Anchored{"LabelVersion", {176, 112}},
             Anchored{"Label4", {8, 308}},
             Anchored{"Label6", {8, 323}},
             Anchored{"Label5", {8, 338}},
         }) {
        if (const QWidget* control = Control(anchored.name)) {
            EXPECT_EQ(control->pos(), anchored.topLeft) << anchored.name;
        }
    }
}

TEST_F(AboutWindowTest, NaturalLabelsShowTheirWholeTextWithoutRunningIntoTheNextControl) {
    // Each label and the control that starts below or to its right.
    struct Neighbours {
        const char* label;
        const char* next;
    };
    for (const Neighbours& pair : {
             Neighbours{"Label2", "Label3"},
             Neighbours{"Label3", "LabelVersion"},
             Neighbours{"LabelVersion", "Memo1"},
             Neighbours{"Label4", "Label6"},
             Neighbours{"Label6", "Label5"},
             Neighbours{"Label5", "Button1"},
         }) {
        const auto* label = Control<QLabel>(pair.label);
        const QWidget* next = Control(pair.next);
        if (label == nullptr || next == nullptr) {
            continue;
        }
        EXPECT_FALSE(label->text().isEmpty()) << pair.label;
        EXPECT_GE(label->width(), label->sizeHint().width()) << pair.label;
        EXPECT_TRUE(form_.rect().contains(label->geometry())) << pair.label;
        EXPECT_FALSE(label->geometry().intersects(next->geometry()))
            << pair.label << " runs into " << pair.next;
    }
    const auto* greeting = Control<QLabel>("Label1");
    EXPECT_LE(greeting->heightForWidth(greeting->width()), greeting->height())
        << "the greeting is cut off";
    for (const char* name : {"Button1", "ButtonCheckVersion"}) {
        const auto* button = Control<QPushButton>(name);
        EXPECT_LE(button->sizeHint().width(), button->width()) << name << " text does not fit";
    }
}

TEST_F(AboutWindowTest, GreetingHasItsThreeLines) {
    EXPECT_THAT(Control<QLabel>("Label1")->text().split(u'\n'),
                ElementsAre(QStringLiteral("Hi there ! This utility converts txt subtitles in sup "
                                           "files in order to put them in a dvd."),
                            QStringLiteral("The official site is : marvoxa.invalid ."),
                            QStringLiteral("For any suggestions pls mail me at "
                                           "maker@marvoxa.invalid .")));
}

TEST_F(AboutWindowTest, FixedTextsAndFonts) {
    struct Text {
        const char* name;
        QString text;
        bool bold;
    };
    for (const Text& expected : {
             Text{"Label3", QStringLiteral("Current version :"), true},
             // The update check compares this caption, as text, with the maker's version
             // page, which names 42.5: another number would announce an update to everyone.
             Text{"LabelVersion", QStringLiteral("42.5"), true},
             Text{"Label4", QStringLiteral("Special Thx to:"), false},
         }) {
        const auto* label = Control<QLabel>(expected.name);
        EXPECT_EQ(label->text(), expected.text) << expected.name;
        EXPECT_EQ(label->font().bold(), expected.bold) << expected.name;
    }
    EXPECT_TRUE(Control("Label6")->font().bold());
    EXPECT_TRUE(Control("Label5")->font().bold());
    EXPECT_FALSE(Control("Label2")->font().bold());
    EXPECT_EQ(Control<QPushButton>("Button1")->text(),
              QStringLiteral("Visit the official site marvoxa.invalid"));
    EXPECT_EQ(Control<QPushButton>("ButtonCheckVersion")->text(), QStringLiteral("Check Version"));
    // Placeholders only: the credits name nobody real and point at the reserved host.
    EXPECT_TRUE(Control<QLabel>("Label5")->text().contains(QStringLiteral("marvoxa.invalid")));
}

TEST_F(AboutWindowTest, UsageTextHasItsTwelveLinesExactly) {
    EXPECT_THAT(
        Control<QPlainTextEdit>("Memo1")->toPlainText().split(u'\n'),
        ElementsAre(
            QStringLiteral("Usage : "),
            QStringLiteral("1) Just load you Original Dvd Ifo file  ex : VTS_01_0.IFO"),
            QStringLiteral("then the program automatically will read the right color pallette"),
            QStringLiteral("and pick the better colors for your sup file."),
            QStringLiteral("If you dont have an ifo file just check the associated checkbox."),
            QStringLiteral("2) After that,just load your srt. At this time the program looks the"),
            QStringLiteral("width of every textual subtitle in order to fit it on the dvd screen."),
            QStringLiteral("3) If the srt loads correctly then press Generate Sup, otherwise"),
            QStringLiteral("try to edit the srt or just pick a smaller font."), QString(),
            QStringLiteral("After generating the sup an help text will be generated in order "),
            QStringLiteral("to help you authoring your dvd with the Genarated.sup'")));
}

TEST_F(AboutWindowTest, UsageTextCannotBeEdited) {
    auto* memo = Control<QPlainTextEdit>("Memo1");
    const QString before = memo->toPlainText();
    form_.show();
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("typed"));
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClick(memo, Qt::Key_Delete);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText(), before);
    EXPECT_TRUE(memo->isReadOnly());
}

TEST_F(AboutWindowTest, PicturesShowAtNaturalSizeFromTheTopLeft) {
    const auto* image = Control<QLabel>("Image1");
    const QImage picture = image->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(78, 99));
    EXPECT_EQ(Control<QLabel>("ImageDonate")->pixmap().size(), QSize(62, 30));

    // The control shows the picture's top 81 rows unscaled; the rest is cut off.
    form_.show();
    const QImage shown = Control("Image1")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(81, 81));
    for (const QPoint point : {QPoint(0, 0), QPoint(39, 37), QPoint(77, 80), QPoint(20, 72)}) {
        EXPECT_EQ(shown.pixel(point), picture.pixel(point)) << point.x() << "," << point.y();
    }
}

TEST_F(AboutWindowTest, ClickableControlsShowAHand) {
    for (const char* name : {"Label5", "Button1", "ButtonCheckVersion", "ImageDonate"}) {
        EXPECT_EQ(Control(name)->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    for (const char* name : {"Label1", "Label6", "Image1"}) {
        EXPECT_NE(Control(name)->cursor().shape(), Qt::PointingHandCursor) << name;
    }
}

// --- Links ---

TEST_F(AboutWindowTest, LinksHandTheirAddressesToTheDesktop) {
    form_.show();
    QTest::mouseClick(Control("Button1"), Qt::LeftButton);
    QTest::mouseClick(Control("Label5"), Qt::LeftButton);
    QTest::mouseClick(Control("ImageDonate"), Qt::LeftButton);
    ASSERT_THAT(prompts_.openedUrls, SizeIs(3));
    EXPECT_EQ(prompts_.openedUrls[0], QUrl(QStringLiteral("http://marvoxa.invalid/")));
    EXPECT_EQ(prompts_.openedUrls[1], QUrl(QStringLiteral("http://marvoxa.invalid/credits/")));
    const QUrl donation = prompts_.openedUrls[2];
    EXPECT_EQ(donation.host(), QStringLiteral("marvoxa.invalid"));
    const QUrlQuery query(donation);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("item_name")), QStringLiteral("Pellorn"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("currency_code")), QStringLiteral("EUR"));
    EXPECT_THAT(prompts_.boxes, IsEmpty());

    // Plain labels and the picture are no links.
    for (const char* name : {"Image1", "Label1", "Label2", "Label4", "Label6"}) {
        QTest::mouseClick(Control(name), Qt::LeftButton);
    }
    EXPECT_THAT(prompts_.openedUrls, SizeIs(3));
}

// --- Check Version ---

class AboutCheckVersionTest : public AboutWindowTest {
protected:
    void SetUp() override {
        AboutWindowTest::SetUp();
        form_.setUpdateServer(QStringLiteral("127.0.0.1"), server_.port());
        form_.show();
    }

    UpdaterTestServer server_;
};

TEST_F(AboutCheckVersionTest, RunsTheCheckAndReleasesTheUpdater) {
    // The server names the release this build is: nothing newer.
    server_.setResponseFor("/divx/Versions/MarvoxaVersion.html",
                           UpdaterTestServer::Ok(QByteArray(kVersion.data(), kVersion.size())));
    QTest::mouseClick(Control("ButtonCheckVersion"), Qt::LeftButton);
    EXPECT_THAT(prompts_.boxes, ElementsAre("message: No updates found."));
    EXPECT_EQ(TUpdater::LiveCount(), 0);

    // A second press works as the first did.
    QTest::mouseClick(Control("ButtonCheckVersion"), Qt::LeftButton);
    EXPECT_THAT(prompts_.boxes, SizeIs(2));
    EXPECT_EQ(server_.requests().size(), 2);
}

TEST_F(AboutCheckVersionTest, ComparesWithTheVersionLabelAsItReadsAtThePress) {
    server_.setResponse(UpdaterTestServer::Ok("42.6"));
    Control<QLabel>("LabelVersion")->setText(QStringLiteral("42.6"));
    QTest::mouseClick(Control("ButtonCheckVersion"), Qt::LeftButton);
    EXPECT_THAT(prompts_.boxes, ElementsAre("message: No updates found."));
}

TEST_F(AboutCheckVersionTest, AcceptedUpdateOpensTheProductPageOfTheServer) {
    server_.setResponse(UpdaterTestServer::Ok("43.0"));
    prompts_.answerYes = true;
    QTest::mouseClick(Control("ButtonCheckVersion"), Qt::LeftButton);
    EXPECT_THAT(prompts_.boxes, ElementsAre("question: Update Found. Version :43.0\rUpdate Now ?"));
    EXPECT_THAT(prompts_.openedUrls,
                ElementsAre(QUrl(QStringLiteral("http://127.0.0.1/divx/SoftwareMarvoxa.html"))));
}

TEST_F(AboutCheckVersionTest, NoCheckWhileAnotherUpdaterExists) {
    RecordingPrompts other;
    const auto held = TUpdater::Obtain(other);
    ASSERT_NE(held, nullptr);
    QTest::mouseClick(Control("ButtonCheckVersion"), Qt::LeftButton);
    EXPECT_THAT(prompts_.boxes, ElementsAre("message: Max Updaters created"));
    EXPECT_EQ(server_.connectionCount(), 0);
}

// --- Showing and closing ---

TEST_F(AboutWindowTest, ClosingOnlyHidesAndShowingAgainKeepsEverything) {
    const QPointer<TForm2> window(&form_);
    form_.show();
    const qint64 picture = Control<QLabel>("Image1")->pixmap().cacheKey();
    Control<QLabel>("LabelVersion")->setText(QStringLiteral("kept"));

    EXPECT_TRUE(form_.close());
    QApplication::processEvents();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(form_.isHidden());

    form_.show();
    form_.raise();
    form_.activateWindow();
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(Control<QLabel>("Image1")->pixmap().cacheKey(), picture) << "picture reloaded";
    EXPECT_EQ(Control<QLabel>("LabelVersion")->text(), QStringLiteral("kept"));
}

TEST_F(AboutWindowTest, EscapeClosesIt) {
    form_.show();
    QApplication::setActiveWindow(&form_);
    QTest::keyClick(Control<QPlainTextEdit>("Memo1"), Qt::Key_Escape);
    EXPECT_TRUE(form_.isHidden());
}

TEST_F(AboutWindowTest, BelongsToItsParentWindow) {
    QWidget mainWindow;
    auto* about = new TForm2(prompts_, &mainWindow);
    const QPointer<TForm2> guard(about);
    EXPECT_TRUE(about->isWindow()) << "a window of its own, not a child control";
    about->show();
    about->close();
    EXPECT_FALSE(guard.isNull());
}

// --- A picture of the window for people to look at ---

TEST_F(AboutWindowTest, GrabsTheWindow) {
    form_.show();
    const QImage image = form_.grab().toImage();
    EXPECT_EQ(image.size(), QSize(316, 463) * image.devicePixelRatio());
    const QString path = QStringLiteral(MARVOXA_ABOUT_SCREENSHOT);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    EXPECT_TRUE(image.save(path)) << path.toStdString();
}

}  // namespace
}  // namespace marvoxa
