#pragma once

#include "ui/prompts.h"

#include <gtest/gtest.h>

#include <QUrl>

#include <string>
#include <vector>

namespace marvoxa::test {

// Answers questions from a script and records every box and every address handed to the
// desktop, so that tests see exactly what the user would have seen.
class RecordingPrompts : public Prompts {
public:
    // Every box as "<kind>: <text>", kind being message, information or question.
    std::vector<std::string> boxes;
    std::vector<QUrl> openedUrls;
    // The answer to every question.
    bool answerYes = false;

    void showMessage(QWidget*, const QString& text) override { Record("message", text); }
    void showInformation(QWidget*, const QString& text) override { Record("information", text); }
    bool askYesNo(QWidget*, const QString& text) override {
        Record("question", text);
        return answerYes;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        ADD_FAILURE() << "no file dialog expected";
        return {};
    }
    void openUrl(const QUrl& url) override { openedUrls.push_back(url); }
    std::optional<OptionsChoices> editOptions(QWidget*, const OptionsChoices&,
                                              const QList<DvdTitleOption>&) override {
        ADD_FAILURE() << "no Options dialog expected";
        return std::nullopt;
    }
    std::optional<int> chooseSubtitleTrack(QWidget*, const QString&, const QStringList&) override {
        ADD_FAILURE() << "no track question expected";
        return std::nullopt;
    }

private:
    void Record(const char* kind, const QString& text) {
        boxes.push_back(std::string(kind) + ": " + text.toStdString());
    }
};

}  // namespace marvoxa::test
