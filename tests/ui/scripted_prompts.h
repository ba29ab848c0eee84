#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace marvoxa::test {

// Answers the window's questions from a script and records what it showed.
class ScriptedPrompts : public Prompts {
public:
    struct Dialog {
        QString title;
        QString filter;
        QString folder;
    };

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

    // Returns the messages shown since the last call and forgets them.
    QStringList takeMessages();

    // Answers of the next file dialogs, in order; an empty answer or none left cancels.
    QStringList fileAnswers;
    // Every message box text, information boxes included, in order.
    QStringList messages;
    QList<Dialog> dialogs;
    QList<QUrl> openedUrls;
    bool yesAnswer = true;
    // The choices the next Options dialog returns; nothing cancels it. Used once.
    std::optional<OptionsChoices> optionsAnswer;
    // What each Options dialog showed when it opened, and the DVD titles it offered.
    QList<OptionsChoices> optionsShown;
    QList<QList<DvdTitleOption>> dvdTitlesShown;
    // The index the next track question returns; nothing cancels it. Used once.
    std::optional<int> trackAnswer;
    // The tracks each track question offered.
    QList<QStringList> tracksShown;
    // Runs while a message box would be open, to look at the window at that moment.
    std::function<void(const QString&)> onMessage;
};

}  // namespace marvoxa::test
