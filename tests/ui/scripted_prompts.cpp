#include "scripted_prompts.h"

#include <utility>

namespace marvoxa::test {

void ScriptedPrompts::showMessage(QWidget*, const QString& text) {
    messages << text;
    if (onMessage) {
        onMessage(text);
    }
}

void ScriptedPrompts::showInformation(QWidget* parent, const QString& text) {
    showMessage(parent, text);
}

bool ScriptedPrompts::askYesNo(QWidget* parent, const QString& text) {
    showMessage(parent, text);
    return yesAnswer;
}

QString ScriptedPrompts::openFileName(QWidget*, const QString& title, const QString& filter,
                                      const QString& folder) {
    dialogs << Dialog{title, filter, folder};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

void ScriptedPrompts::openUrl(const QUrl& url) {
    openedUrls << url;
}

QStringList ScriptedPrompts::takeMessages() {
    QStringList shown;
    shown.swap(messages);
    return shown;
}

std::optional<OptionsChoices> ScriptedPrompts::editOptions(QWidget*, const OptionsChoices& current,
                                                           const QList<DvdTitleOption>& dvdTitles) {
    optionsShown.append(current);
    dvdTitlesShown.append(dvdTitles);
    return std::exchange(optionsAnswer, std::nullopt);
}

std::optional<int> ScriptedPrompts::chooseSubtitleTrack(QWidget*, const QString&,
                                                        const QStringList& tracks) {
    tracksShown.append(tracks);
    return std::exchange(trackAnswer, std::nullopt);
}

}  // namespace marvoxa::test
