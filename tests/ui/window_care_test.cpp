// The main window on a screen too small for it, and its keyboard order.

#include "main_window_fixture.h"

#include "ui/window_scroller.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace marvoxa::test {
namespace {

class WindowCare : public MainWindowTest {};

// A display scaled by 2 leaves a 1920x1080 screen about 960x540 logical pixels.
TEST_F(WindowCare, ShrinksToASmallScreenAndScrollsItsControlsIntoView) {
    const QRect generate = c().Button3->geometry();
    WindowScroller& scroller = form_->scroller();
    scroller.fitInto(QSize(640, 480));
    EXPECT_LE(form_->width(), 640);
    EXPECT_LE(form_->height(), 480);
    ASSERT_TRUE(scroller.horizontalBar()->isVisibleTo(form_.get()));
    ASSERT_TRUE(scroller.verticalBar()->isVisibleTo(form_.get()));
    // The bars reach the far edges of the 803x705 client area.
    const QRect bar = scroller.verticalBar()->geometry();
    EXPECT_EQ(bar.right(), form_->width() - 1);
    EXPECT_EQ(scroller.verticalBar()->maximum(), 705 - scroller.horizontalBar()->y());
    EXPECT_EQ(scroller.horizontalBar()->maximum(), 803 - bar.x());

    scroller.horizontalBar()->setValue(scroller.horizontalBar()->maximum());
    scroller.verticalBar()->setValue(50);
    EXPECT_EQ(c().Button3->geometry(),
              generate.translated(-scroller.horizontalBar()->maximum(), -50));
    EXPECT_EQ(scroller.verticalBar()->geometry(), bar) << "the bars stay at the edges";

    scroller.fitInto(QSize(1920, 1080));
    EXPECT_EQ(form_->size(), QSize(803, 705));
    EXPECT_FALSE(scroller.horizontalBar()->isVisibleTo(form_.get()));
    EXPECT_FALSE(scroller.verticalBar()->isVisibleTo(form_.get()));
    EXPECT_EQ(c().Button3->geometry(), generate);
}

TEST_F(WindowCare, WideEnoughScreenNeedsOnlyTheVerticalBar) {
    WindowScroller& scroller = form_->scroller();
    scroller.fitInto(QSize(1000, 600));
    EXPECT_FALSE(scroller.horizontalBar()->isVisibleTo(form_.get()));
    EXPECT_TRUE(scroller.verticalBar()->isVisibleTo(form_.get()));
    EXPECT_EQ(form_->height(), 600);
    EXPECT_EQ(form_->width(), 803 + scroller.verticalBar()->width());
}

QStringList TabChain(QWidget* window, QWidget* first) {
    QStringList names;
    QWidget* widget = first;
    do {
        if (widget->parentWidget() == window && (widget->focusPolicy() & Qt::TabFocus) != 0) {
            names << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return names;
}

// Reading order: the palette band left to right, then the style band below it.
TEST_F(WindowCare, TabGoesFromTopLeftToBottomRight) {
    const QStringList expected =
        QStringLiteral(
            "Edit1 Button1 i_dont_have_ifo Pal Ntsc ComboBox1 CheckBox1 "
            "ComboBox2 CheckBox2 ComboBox3 CheckBox3 ComboBox4 CheckBox4 "
            "ButtonAbout BitBtnSetDefaultValues ButtonOptions BitBtnChangeImage "
            "Edit2 "
            "Button2 ComboBox5 ComboBox7 ComboBox8 ComboBox6 ComboBoxAlign "
            "offset offset_or ComboBoxOutlineWidth Button3 ListBox1")
            .split(u' ');
    EXPECT_EQ(TabChain(form_.get(), static_cast<QWidget*>(c().Edit1)).join(u' '),
              expected.join(u' '));
}

}  // namespace
}  // namespace marvoxa::test
