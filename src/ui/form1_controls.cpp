#include "ui/form1_controls.h"

#include "render/render_settings.h"
#include "ui/compact_combo_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

namespace marvoxa {

void FillFontList(QComboBox* box) {
    QStringList families = QFontDatabase::families();
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    box->clear();
    box->addItem(QStringLiteral("Arial"));
    box->addItems(families);
    box->setCurrentIndex(0);  // lists run their handlers only on the user's choice
}

namespace {

constexpr int kComboHeight = 21;
constexpr int kCaptionHeight = 14;

template <typename Widget>
Widget* Place(QWidget* form, const QByteArray& name, QRect geometry) {
    auto* widget = new Widget(form);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* Caption(QWidget* form, const char* name, const char* text, QRect geometry) {
    auto* label = Place<QLabel>(form, name, geometry);
    label->setText(QLatin1String(text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// For the few texts whose places are too small for the window's font.
void UseSmallFont(QWidget* widget) {
    QFont small = widget->font();
    small.setPointSize(7);
    widget->setFont(small);
}

QPushButton* Button(QWidget* form, const char* name, const char* text, QRect geometry) {
    auto* button = Place<QPushButton>(form, name, geometry);
    button->setText(QLatin1String(text));
    return button;
}

QPushButton* GlyphButton(QWidget* form, const char* name, const char* icon, const char* tip,
                         QRect geometry) {
    auto* button = Place<QPushButton>(form, name, geometry);
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(QLatin1String(tip));
    return button;
}

QComboBox* List(QWidget* form, const char* name, const QStringList& items, int left, int width) {
    auto* box = Place<QComboBox>(form, name, QRect(left, 102, width, kComboHeight));
    box->addItems(items);
    box->setMaxVisibleItems(16);
    return box;
}

QLineEdit* PathField(QWidget* form, const char* name, const char* text, QRect geometry) {
    auto* field = Place<QLineEdit>(form, name, geometry);
    field->setText(QLatin1String(text));
    field->setEnabled(false);
    // The field is only 15 pixels high: no frame, so the text is not cut.
    field->setFrame(false);
    return field;
}

}  // namespace

std::array<QWidget*, 22> Form1Controls::inputControls() const {
    return {Button1,
            i_dont_have_ifo,
            Pal,
            Ntsc,
            ComboBox1,
            ComboBox2,
            ComboBox3,
            ComboBox4,
            Button2,
            ComboBox5,
            ComboBox7,
            ComboBox8,
            ComboBox6,
            ComboBoxAlign,
            offset,
            offset_or,
            ComboBoxOutlineWidth,
            Button3,
            ListBox1,
            BitBtnSetDefaultValues,
            BitBtnChangeImage,
            ButtonOptions};
}

Form1Controls CreateForm1Controls(QWidget* form) {
    Form1Controls c;

    c.Edit1 = PathField(form, "Edit1", "Load IFO", QRect(8, 5, 84, 15));
    c.Button1 = Button(form, "Button1", "Load Ifo", QRect(8, 20, 84, 20));
    // The label's leading blanks leave room for the box, which stands over them.
    c.no_ifo = Caption(form, "no_ifo", "     I dont have any Ifo or my Ifo hasnt sup support",
                       QRect(97, 3, 84, 39));
    c.no_ifo->setWordWrap(true);
    UseSmallFont(c.no_ifo);
    c.i_dont_have_ifo = Place<QCheckBox>(form, "i_dont_have_ifo", QRect(94, 0, 15, 17));
    c.i_dont_have_ifo->setText(QStringLiteral("polycromatic"));
    c.Pal = Place<QRadioButton>(form, "Pal", QRect(94, 38, 42, 17));
    c.Pal->setText(QStringLiteral("Pal"));
    c.Ntsc = Place<QRadioButton>(form, "Ntsc", QRect(136, 38, 47, 17));
    c.Ntsc->setText(QStringLiteral("Ntsc"));

    const QStringList slotNames = ColorSlotNames();
    const std::array<const char*, 4> roleCaptions{"Antialias Color", "Outine Color", "Text Color",
                                                  "Background Color"};
    const std::array<int, 4> roleLefts{184, 272, 360, 448};
    std::array<QLabel*, 4> roleLabels{};
    std::array<QComboBox*, 4> roleBoxes{};
    for (size_t role = 0; role < 4; ++role) {
        const int left = roleLefts[role];
        const QByteArray number = QByteArray::number(static_cast<int>(role) + 1);
        roleLabels[role] = Caption(form, QByteArray("Label" + QByteArray::number(int(role) + 3)),
                                   roleCaptions[role], QRect(left, 0, 88, kCaptionHeight));
        roleBoxes[role] = Place<QComboBox>(form, QByteArray("ComboBox" + number),
                                           QRect(left, 16, 81, kComboHeight));
        roleBoxes[role]->addItems(slotNames);
        roleBoxes[role]->setMaxVisibleItems(16);
        auto* transparent =
            Place<QCheckBox>(form, QByteArray("CheckBox" + number), QRect(left, 37, 81, 17));
        transparent->setText(QStringLiteral("Trasparent"));
        // Only the background is transparent in every subpicture.
        transparent->setChecked(role == 3);
        transparent->setEnabled(false);
        c.transparentBoxes[role] = transparent;
    }
    c.Label3 = roleLabels[0];
    c.Label4 = roleLabels[1];
    c.Label5 = roleLabels[2];
    c.Label6 = roleLabels[3];
    c.ComboBox1 = roleBoxes[0];
    c.ComboBox2 = roleBoxes[1];
    c.ComboBox3 = roleBoxes[2];
    c.ComboBox4 = roleBoxes[3];

    c.Label2 = Caption(form, "Label2", "Ifo Colors:", QRect(8, 52, 47, kCaptionHeight));
    UseSmallFont(c.Label2);

    c.Shape2 = Place<QFrame>(form, "Shape2", QRect(580, 2, 80, 82));
    c.Shape2->setFrameShape(QFrame::Box);
    c.Label1 = Caption(form, "Label1", "ATTENTION", QRect(582, 5, 76, kCaptionHeight));
    c.Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette red = c.Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    c.Label1->setPalette(red);
    QFont bold = c.Label1->font();
    bold.setBold(true);
    c.Label1->setFont(bold);
    c.Info = Caption(form, "Info",
                     "For Antialias ,Outline and Text color please dont pick a blue color.",
                     QRect(583, 20, 75, 62));
    c.Info->setWordWrap(true);
    UseSmallFont(c.Info);

    c.Label7 = Caption(form, "Label7", "Colors Example", QRect(664, 0, 80, kCaptionHeight));
    c.colors = Place<QLabel>(form, "colors", QRect(664, 14, 73, 73));
    c.colors->setAlignment(Qt::AlignCenter);

    c.ButtonAbout = Button(form, "ButtonAbout", "About", QRect(745, 4, 54, 25));
    c.BitBtnSetDefaultValues = GlyphButton(form, "BitBtnSetDefaultValues", ":/main_window/reset",
                                           "Set the default values", QRect(745, 32, 54, 25));
    c.BitBtnChangeImage = GlyphButton(form, "BitBtnChangeImage", ":/main_window/change_image",
                                      "Change the preview pictures", QRect(744, 60, 54, 25));

    c.ButtonOptions = Button(form, "ButtonOptions", "Options...", QRect(496, 60, 76, 22));
    c.Shape1 = Place<QFrame>(form, "Shape1", QRect(4, 85, 572, 2));
    c.Shape1->setFrameShape(QFrame::HLine);
    c.Shape1->setFrameShadow(QFrame::Sunken);

    c.Edit2 = PathField(form, "Edit2", "Load SRT", QRect(8, 88, 84, 15));
    c.Button2 = Button(form, "Button2", "Load Srt ,Sub", QRect(8, 106, 84, 18));

    c.Label8 = Caption(form, "Label8", "Font Name", QRect(96, 88, 81, kCaptionHeight));
    c.ComboBox5 = List(form, "ComboBox5", {}, 96, 81);
    c.Label11 = Caption(form, "Label11", "Font Charset", QRect(184, 88, 81, kCaptionHeight));
    c.ComboBox7 = List(form, "ComboBox7", CharsetNames(), 184, 81);
    c.Label12 = Caption(form, "Label12", "Font Style", QRect(272, 88, 81, kCaptionHeight));
    c.ComboBox8 = List(form, "ComboBox8", StyleNames(), 272, 81);
    c.Label9 = Caption(form, "Label9", "Font Size", QRect(356, 88, 46, kCaptionHeight));
    c.ComboBox6 = List(form, "ComboBox6", FontSizeNames(), 356, 40);
    c.LabelAlign = Caption(form, "LabelAlign", "Align", QRect(408, 88, 46, kCaptionHeight));
    c.ComboBoxAlign = List(form, "ComboBoxAlign", AlignNames(), 402, 55);

    c.Label10 = Caption(form, "Label10", "Offsets", QRect(460, 88, 50, kCaptionHeight));
    c.offset = Place<QSlider>(form, "offset", QRect(456, 108, 60, 17));
    c.offset->setOrientation(Qt::Horizontal);
    c.offset->setRange(kBottomOffsetMin, kBottomOffsetMax);
    c.offset->setSingleStep(1);
    c.offset->setPageStep(10);
    c.offset->setValue(30);
    c.LabelOffset = Caption(form, "LabelOffset", "", QRect(458, 98, 26, 10));
    c.offset_or = Place<QSlider>(form, "offset_or", QRect(514, 90, 15, 36));
    c.offset_or->setOrientation(Qt::Vertical);
    c.offset_or->setRange(kLineOverlapMin, kLineOverlapMax);
    // Only even positions stay; a step of 1 would let the arrow keys move down to an odd
    // position that is corrected straight back up, so the keys could never lower it.
    c.offset_or->setSingleStep(2);
    c.offset_or->setPageStep(2);
    c.offset_or->setValue(-4);
    c.LabelOffset_Or = Caption(form, "LabelOffset_Or", "", QRect(486, 98, 26, 10));
    c.LabelOffset_Or->setAlignment(Qt::AlignRight | Qt::AlignTop);
    UseSmallFont(c.LabelOffset);
    UseSmallFont(c.LabelOffset_Or);

    c.Label13 = Caption(form, "Label13", "Outline", QRect(536, 88, 42, kCaptionHeight));
    c.ComboBoxOutlineWidth = List(form, "ComboBoxOutlineWidth", OutlineWidthNames(), 536, 36);

    c.ProgressBar1 = Place<QProgressBar>(form, "ProgressBar1", QRect(580, 91, 80, 15));
    c.ProgressBar1->setRange(0, 100);
    c.ProgressBar1->setValue(0);
    c.ProgressBar1->setTextVisible(false);
    c.ProgressBar1->setToolTip(QStringLiteral("ProgressBar"));
    c.Button3 = Button(form, "Button3", "Generate Sup", QRect(580, 106, 80, 18));

    c.ListBox1 = Place<QListWidget>(form, "ListBox1", QRect(664, 92, 131, 32));
    c.ListBox1->setFrameShape(QFrame::Box);
    c.ListBox1->setFrameShadow(QFrame::Plain);
    c.ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    // Two entries high: a horizontal scroll bar would hide one of them.
    c.ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    c.preview = Place<QLabel>(form, "preview", QRect(40, 126, 720, 576));
    c.preview->setScaledContents(true);

    // Created last, so that it outlives the lists when the form deletes its children.
    auto* compactStyle = new CompactComboStyle;
    compactStyle->setParent(form);
    for (QComboBox* box : form->findChildren<QComboBox*>()) {
        box->setStyle(compactStyle);
    }

    c.LabelImageChangedPAL = Place<QLabel>(form, "LabelImageChangedPAL", QRect(0, 0, 1, 1));
    c.LabelImageChangedPAL->hide();
    c.LabelImageChangedNTSC = Place<QLabel>(form, "LabelImageChangedNTSC", QRect(0, 0, 1, 1));
    c.LabelImageChangedNTSC->hide();
    return c;
}

}  // namespace marvoxa
