#pragma once

#include "render/text_options.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace marvoxa {

// Everything the Options dialog lets the user choose.
struct OptionsChoices {
    TextOptions text;

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

private:
    QComboBox* markup_;
    QCheckBox* wrap_;
    QCheckBox* allLines_;
};

}  // namespace marvoxa
