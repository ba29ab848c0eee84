#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QProgressBar;
class QPushButton;
class QWidget;

namespace marvoxa {

// The window's side of one generation. "Generate Sup" reads "Cancel" and stays clickable,
// Escape cancels too, and the window handles its events and redraws the preview at most
// about 30 times a second rather than once a cue, so the window keeps up with the converter.
class GenerationSession : public QObject {
public:
    // With a copy of the DVD to write, the bar keeps room after the cues for its progress.
    GenerationSession(QWidget* window, QPushButton* button, QProgressBar* progress, int cueCount,
                      bool withDvdCopy = false);
    ~GenerationSession() override;  // gives the button its caption back

    // Generation stops after the cues being drawn and writes nothing.
    void requestCancel() { cancelRequested_ = true; }
    bool cancelRequested() const { return cancelRequested_; }

    // Before each cue: handles the window's events when due, then moves the bar on.
    void beforeCue(int cueIndex);
    // Whether the preview should show this cue: when due, and always for the last.
    bool frameWanted(int cueIndex);
    // While the DVD copy is written: handles the window's events when due and moves the bar
    // on; false once the user has cancelled.
    bool copyProgress(qint64 done, qint64 total);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Restarts the timer when the interval has passed since its last start.
    static bool due(QElapsedTimer& timer);

    QWidget* window_;
    QPushButton* button_;
    QProgressBar* progress_;
    QString caption_;
    int lastCue_;
    bool cancelRequested_ = false;
    QElapsedTimer sinceEvents_;
    QElapsedTimer sinceFrame_;
};

}  // namespace marvoxa
