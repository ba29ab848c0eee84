#include "ui/options_dialog.h"

#include "export/vobsub_index.h"
#include "pgs/pgs_format.h"
#include "ui/dialog_filters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace marvoxa {

OptionsDialog::OptionsDialog(const OptionsChoices& current, const QList<DvdTitleOption>& dvdTitles,
                             QWidget* parent)
    : QDialog(parent),
      markup_(new QComboBox(this)),
      wrap_(new QCheckBox(QStringLiteral("Wrap lines too wide for the picture"), this)),
      allLines_(new QCheckBox(QStringLiteral("Draw every line, not only the first two"), this)),
      vobSub_(
          new QCheckBox(QStringLiteral("VobSub for players and MKV (Generated.idx, .sub)"), this)),
      dvdauthor_(new QCheckBox(
          QStringLiteral("Pictures for dvdauthor's spumux (Generated_spumux.xml)"), this)),
      language_(new QLineEdit(this)),
      pgs_(new QCheckBox(QStringLiteral("Blu-ray PGS for Blu-ray and MKV (Generated_pgs.sup)"),
                         this)),
      pgsSize_(new QComboBox(this)),
      forced_(new QCheckBox(QStringLiteral("Forced (shown even when subtitles are off)"), this)),
      intoDvd_(new QCheckBox(QStringLiteral("Add to the DVD of the loaded IFO"), this)),
      dvdTitle_(new QComboBox(this)),
      dvdFolder_(new QLineEdit(current.dvdFolder, this)),
      chooseDvdFolder_(new QPushButton(QStringLiteral("Choose..."), this)),
      moreStreams_(new MoreStreamsList(
          current.moreStreams, [this] { return pickSubtitleFile(); }, this)),
      aspect_(new QComboBox(this)),
      shownDvdTitle_(current.dvdTitle),
      shownLanguage_(current.outputs.language) {
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

    // In the order of AspectChoice.
    aspect_->addItems({QStringLiteral("The IFO's screen, 4:3 or 16:9"),
                       QStringLiteral("4:3 (square pixels)"),
                       QStringLiteral("16:9 (3/4 as wide, stretched by players)")});
    aspect_->setToolTip(
        QStringLiteral("A 16:9 DVD holds its picture squeezed to 3/4 of its width and players "
                       "stretch it, subtitles included: drawn 3/4 as wide, they look right"));
    aspect_->setCurrentIndex(static_cast<int>(current.aspect));
    form->addRow(QStringLiteral("Drawn for:"), aspect_);

    vobSub_->setChecked(current.outputs.vobSub);
    dvdauthor_->setChecked(current.outputs.dvdauthor);
    language_->setText(current.outputs.language);
    language_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[a-z]{0,2}")), language_));
    language_->setMaximumWidth(40);
    language_->setToolTip(QStringLiteral("Two lower-case letters, such as en, de or el"));
    auto* outputGroup = new QGroupBox(QStringLiteral("Also write, for DVD and MKV tools"), this);
    auto* outputForm = new QFormLayout(outputGroup);
    outputForm->addRow(vobSub_);
    outputForm->addRow(dvdauthor_);
    outputForm->addRow(QStringLiteral("Subtitle language:"), language_);
    // The Blu-ray stream is drawn smoothly at its video's size.
    pgs_->setChecked(current.outputs.pgs);
    pgsSize_->addItems(PgsSizeNames());
    pgsSize_->setCurrentText(PgsSizeName(current.outputs.pgsSize));
    pgsSize_->setEnabled(pgs_->isChecked());
    pgsSize_->setToolTip(QStringLiteral("The video size the Blu-ray subtitles are drawn for"));
    connect(pgs_, &QCheckBox::toggled, pgsSize_, &QWidget::setEnabled);
    outputForm->addRow(pgs_);
    outputForm->addRow(QStringLiteral("Blu-ray video size:"), pgsSize_);

    forced_->setChecked(current.forced);
    forced_->setToolTip(
        QStringLiteral("For translated signs and foreign dialogue: players show these subtitles "
                       "even when the viewer has switched subtitles off"));
    auto* streamGroup = new QGroupBox(QStringLiteral("Subtitle stream"), this);
    auto* streamForm = new QFormLayout(streamGroup);
    streamForm->addRow(forced_);

    // A copy of the DVD with the stream added goes beside Generated.sup, as VIDEO_TS.
    for (const DvdTitleOption& title : dvdTitles) {
        dvdTitle_->addItem(title.label, title.number);
    }
    const bool dvdKnown = !dvdTitles.isEmpty();
    intoDvd_->setEnabled(dvdKnown);
    intoDvd_->setChecked(dvdKnown && current.intoDvd);
    intoDvd_->setToolTip(
        dvdKnown ? QStringLiteral("Generate Sup also writes VIDEO_TS beside Generated.sup: a copy "
                                  "of the DVD with the subtitles as one more stream of the title, "
                                  "in the subtitle language above")
                 : QStringLiteral("Load the VTS_xx_0.IFO that lies in the DVD's VIDEO_TS folder, "
                                  "beside VIDEO_TS.IFO and the title set's VOB files"));
    const int shown = dvdTitle_->findData(current.dvdTitle);
    dvdTitle_->setCurrentIndex(shown >= 0 ? shown : 0);
    dvdTitle_->setEnabled(intoDvd_->isChecked());
    connect(intoDvd_, &QCheckBox::toggled, dvdTitle_, &QWidget::setEnabled);
    streamForm->addRow(intoDvd_);
    streamForm->addRow(QStringLiteral("Title:"), dvdTitle_);
    dvdFolder_->setToolTip(
        QStringLiteral("The copy goes into this folder as VIDEO_TS; an ISO "
                       "image made of the folder holds nothing else"));
    dvdFolder_->setMinimumWidth(240);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(dvdFolder_);
    folderRow->addWidget(chooseDvdFolder_);
    for (QWidget* folderControl :
         {static_cast<QWidget*>(dvdFolder_), static_cast<QWidget*>(chooseDvdFolder_)}) {
        folderControl->setEnabled(intoDvd_->isChecked());
        connect(intoDvd_, &QCheckBox::toggled, folderControl, &QWidget::setEnabled);
    }
    connect(chooseDvdFolder_, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Output folder for the DVD copy"), dvdFolder_->text());
        if (!folder.isEmpty()) {
            dvdFolder_->setText(QDir::toNativeSeparators(folder));
        }
    });
    streamForm->addRow(QStringLiteral("Output folder:"), folderRow);

    // Each further file becomes a stream of its own, after the loaded one, in every output.
    auto* moreGroup = new QGroupBox(QStringLiteral("More subtitle streams"), this);
    auto* moreLayout = new QVBoxLayout(moreGroup);
    moreLayout->addWidget(moreStreams_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup);
    layout->addWidget(outputGroup);
    layout->addWidget(streamGroup);
    layout->addWidget(moreGroup);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

OptionsChoices OptionsDialog::choices() const {
    OptionsChoices choices;
    choices.text.markup = static_cast<MarkupMode>(markup_->currentIndex());
    choices.text.wrap = wrap_->isChecked();
    choices.text.allLines = allLines_->isChecked();
    choices.outputs.vobSub = vobSub_->isChecked();
    choices.outputs.dvdauthor = dvdauthor_->isChecked();
    choices.outputs.language =
        IsLanguageCode(language_->text()) ? language_->text() : shownLanguage_;
    choices.outputs.pgs = pgs_->isChecked();
    choices.outputs.pgsSize = PgsSizeFromName(pgsSize_->currentText()).value_or(kDefaultPgsSize);
    choices.forced = forced_->isChecked();
    choices.intoDvd = intoDvd_->isChecked();
    choices.aspect = static_cast<AspectChoice>(aspect_->currentIndex());
    choices.dvdTitle = dvdTitle_->count() > 0 ? dvdTitle_->currentData().toInt() : shownDvdTitle_;
    choices.dvdFolder = dvdFolder_->text().trimmed();
    for (StreamChoice stream : moreStreams_->streams()) {
        if (!IsLanguageCode(stream.language)) {
            stream.language.clear();  // one letter is no language: the file's name gives it
        }
        choices.moreStreams.append(stream);
    }
    return choices;
}

QString OptionsDialog::pickSubtitleFile() {
    if (picker_) {
        return picker_();
    }
    return QFileDialog::getOpenFileName(this, QStringLiteral("A further subtitle stream"),
                                        QString(), SubtitleFilter());
}

}  // namespace marvoxa
