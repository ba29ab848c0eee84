#include "ui/prompts.h"

#include "ui/subtitle_track_choice.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace marvoxa {

namespace {

int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), MessageBoxText(text), buttons,
                    parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

}  // namespace

QString MessageBoxText(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

void DesktopPrompts::showMessage(QWidget* parent, const QString& text) {
    ShowBox(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

void DesktopPrompts::showInformation(QWidget* parent, const QString& text) {
    ShowBox(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

bool DesktopPrompts::askYesNo(QWidget* parent, const QString& text) {
    return ShowBox(parent, QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QString DesktopPrompts::openFileName(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& folder) {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

void DesktopPrompts::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

std::optional<OptionsChoices> DesktopPrompts::editOptions(QWidget* parent,
                                                          const OptionsChoices& current,
                                                          const QList<DvdTitleOption>& dvdTitles) {
    OptionsDialog dialog(current, dvdTitles, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.choices();
}

std::optional<int> DesktopPrompts::chooseSubtitleTrack(QWidget* parent, const QString& fileName,
                                                       const QStringList& tracks) {
    const std::unique_ptr<QInputDialog> dialog = MakeTrackDialog(parent, fileName, tracks);
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return static_cast<int>(tracks.indexOf(dialog->textValue()));
}

}  // namespace marvoxa
