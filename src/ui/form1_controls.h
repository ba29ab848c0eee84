#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

namespace marvoxa {

// The main window's controls, each named (objectName and member) as the program and its
// settings file name it. Positions are absolute client pixels; the window has a fixed size.
struct Form1Controls {
    // Palette row.
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* no_ifo = nullptr;
    QCheckBox* i_dont_have_ifo = nullptr;
    QRadioButton* Pal = nullptr;
    QRadioButton* Ntsc = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    // Antialias, outline, text and background colour roles.
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    std::array<QCheckBox*, 4> transparentBoxes{};  // CheckBox1 ... CheckBox4
    QLabel* Label2 = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Info = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* colors = nullptr;
    QPushButton* ButtonAbout = nullptr;
    QPushButton* BitBtnSetDefaultValues = nullptr;
    QPushButton* BitBtnChangeImage = nullptr;
    // Opens the Options dialog; stands right of the palette swatches, where nothing else is.
    QPushButton* ButtonOptions = nullptr;
    QFrame* Shape1 = nullptr;

    // Style row.
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* ComboBox5 = nullptr;  // font face
    QLabel* Label11 = nullptr;
    QComboBox* ComboBox7 = nullptr;  // charset
    QLabel* Label12 = nullptr;
    QComboBox* ComboBox8 = nullptr;  // style
    QLabel* Label9 = nullptr;
    QComboBox* ComboBox6 = nullptr;  // size
    QLabel* LabelAlign = nullptr;
    QComboBox* ComboBoxAlign = nullptr;
    QLabel* Label10 = nullptr;
    QSlider* offset = nullptr;
    QLabel* LabelOffset = nullptr;
    QSlider* offset_or = nullptr;
    QLabel* LabelOffset_Or = nullptr;
    QLabel* Label13 = nullptr;
    QComboBox* ComboBoxOutlineWidth = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Button3 = nullptr;
    QListWidget* ListBox1 = nullptr;

    QLabel* preview = nullptr;
    // Hidden: the paths of the user's preview pictures, empty when none was chosen.
    QLabel* LabelImageChangedPAL = nullptr;
    QLabel* LabelImageChangedNTSC = nullptr;

    std::array<QComboBox*, 4> roleBoxes() const {
        return {ComboBox1, ComboBox2, ComboBox3, ComboBox4};
    }
    // Everything a user can change; locked while a stream is generated.
    std::array<QWidget*, 22> inputControls() const;
};

// Creates every control as a child of form, with its caption, fixed items and geometry. Lists
// that depend on the system (the font faces) and start values are left to the window.
Form1Controls CreateForm1Controls(QWidget* form);

// Fills the font list with "Arial", then the installed families in alphabetical order, and
// selects the first, running no handler; afresh on every call.
void FillFontList(QComboBox* box);

}  // namespace marvoxa
