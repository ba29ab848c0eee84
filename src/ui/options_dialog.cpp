#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace marvoxa {

OptionsDialog::OptionsDialog(const OptionsChoices& current, QWidget* parent)
    : QDialog(parent),
      markup_(new QComboBox(this)),
      wrap_(new QCheckBox(QStringLiteral("Wrap lines too wide for the picture"), this)),
      allLines_(new QCheckBox(QStringLiteral("Draw every line, not only the first two"), this)) {
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);

    // In the order of MarkupMode.
    markup_->addItems({QStringLiteral("Draw tags as text"), QStringLiteral("Remove tags"),
                       QStringLiteral("Draw italic, bold, underline")});
    markup_->setToolTip(
        QStringLiteral("Tags such as <i>, {\\an8} or {y:i} and entities such as &amp;"));
    markup_->setCurrentIndex(static_cast<int>(current.text.markup));
    wrap_->setChecked(current.text.wrap);
    allLines_->setChecked(current.text.allLines);

    auto* textGroup = new QGroupBox(QStringLiteral("Subtitle text"), this);
    auto* form = new QFormLayout(textGroup);
    form->addRow(QStringLiteral("Markup:"), markup_);
    form->addRow(wrap_);
    form->addRow(allLines_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

OptionsChoices OptionsDialog::choices() const {
    OptionsChoices choices;
    choices.text.markup = static_cast<MarkupMode>(markup_->currentIndex());
    choices.text.wrap = wrap_->isChecked();
    choices.text.allLines = allLines_->isChecked();
    return choices;
}

}  // namespace marvoxa
