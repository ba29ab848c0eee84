#pragma once

#include "ui/options_dialog.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QWidget;

namespace marvoxa {

// Everything the windows ask of the user or the desktop goes through here, so tests can answer
// without a person and without a browser.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal box with one OK button showing text as plain text; carriage returns separate
    // its lines.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The same with an information icon.
    virtual void showInformation(QWidget* parent, const QString& text) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // An open-file dialog showing folder (empty: the dialog's own choice); the chosen file's
    // full path, or empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& folder) = 0;
    // Asks the desktop to open an address in the user's browser.
    virtual void openUrl(const QUrl& url) = 0;
    // The modal Options dialog showing current and the loaded DVD's titles; the new choices,
    // or nothing when cancelled.
    virtual std::optional<OptionsChoices> editOptions(QWidget* parent,
                                                      const OptionsChoices& current,
                                                      const QList<DvdTitleOption>& dvdTitles) = 0;
    // Asks which of a video's subtitle tracks to load, fileName's tracks described one a line;
    // the index of the chosen one, or nothing when cancelled.
    virtual std::optional<int> chooseSubtitleTrack(QWidget* parent, const QString& fileName,
                                                   const QStringList& tracks) = 0;
};

// Real message boxes, file dialogs and the desktop's browser.
class DesktopPrompts : public Prompts {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    void showInformation(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& folder) override;
    void openUrl(const QUrl& url) override;
    std::optional<OptionsChoices> editOptions(QWidget* parent, const OptionsChoices& current,
                                              const QList<DvdTitleOption>& dvdTitles) override;
    std::optional<int> chooseSubtitleTrack(QWidget* parent, const QString& fileName,
                                           const QStringList& tracks) override;
};

// Message texts separate lines by carriage returns; boxes show them as line breaks.
QString MessageBoxText(const QString& text);

}  // namespace marvoxa
