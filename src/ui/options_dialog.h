#pragma once

#include "export/extra_outputs.h"
#include "render/text_options.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace marvoxa {

// Everything the Options dialog lets the user choose.
struct OptionsChoices {
    TextOptions text{};
    ExtraOutputChoices outputs{};  // what "Generate Sup" writes besides Generated.sup
    bool forced = false;           // every subtitle shown even when subtitles are off

    friend bool operator==(const OptionsChoices&, const OptionsChoices&) = default;
};

// The small modal dialog behind the main window's "Options..." button. OK takes the choices,
// Cancel or closing keeps the ones given at construction.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OptionsDialog(const OptionsChoices& current, QWidget* parent = nullptr);

    // What the controls show now.
    OptionsChoices choices() const;

    QComboBox* markupList() const { return markup_; }
    QCheckBox* wrapBox() const { return wrap_; }
    QCheckBox* allLinesBox() const { return allLines_; }
    QCheckBox* vobSubBox() const { return vobSub_; }
    QCheckBox* dvdauthorBox() const { return dvdauthor_; }
    QLineEdit* languageField() const { return language_; }
    QCheckBox* forcedBox() const { return forced_; }

private:
    QComboBox* markup_;
    QCheckBox* wrap_;
    QCheckBox* allLines_;
    QCheckBox* vobSub_;
    QCheckBox* dvdauthor_;
    QLineEdit* language_;
    QCheckBox* forced_;
    QString shownLanguage_;  // kept when the field is left without two letters
};

}  // namespace marvoxa
