#include "ui/generation_session.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace marvoxa {

namespace {

// About 30 times a second: smooth to the eye, rare next to the thousands of cues drawn.
constexpr qint64 kRefreshIntervalMs = 33;
// The bar's steps for the DVD copy after the cues: the copy takes longer than the cues.
constexpr int kCopySteps = 1000;

}  // namespace

GenerationSession::GenerationSession(QWidget* window, QPushButton* button, QProgressBar* progress,
                                     int cueCount, bool withDvdCopy)
    : window_(window),
      button_(button),
      progress_(progress),
      caption_(button->text()),
      lastCue_(cueCount - 1) {
    button_->setText(QStringLiteral("Cancel"));
    progress_->setRange(0, std::max(0, lastCue_) + (withDvdCopy ? kCopySteps : 0));
    progress_->setValue(0);
    // Escape reaches the window from whichever control has the focus.
    window_->installEventFilter(this);
}

GenerationSession::~GenerationSession() {
    window_->removeEventFilter(this);
    button_->setText(caption_);
}

bool GenerationSession::due(QElapsedTimer& timer) {
    if (timer.isValid() && timer.elapsed() < kRefreshIntervalMs) {
        return false;
    }
    timer.start();
    return true;
}

void GenerationSession::beforeCue(int /*cueIndex*/) {
    if (due(sinceEvents_)) {
        QCoreApplication::processEvents();
    }
    progress_->setValue(std::min(progress_->value() + 1, progress_->maximum()));
}

bool GenerationSession::copyProgress(qint64 done, qint64 total) {
    if (due(sinceEvents_)) {
        QCoreApplication::processEvents();
    }
    // A value past the maximum would be ignored, and the inserted packs make a little more.
    const int copied = total > 0 ? static_cast<int>(kCopySteps * std::min(done, total) / total) : 0;
    progress_->setValue(std::max(0, lastCue_) + copied);
    return !cancelRequested_;
}

bool GenerationSession::frameWanted(int cueIndex) {
    return due(sinceFrame_) || cueIndex == lastCue_;
}

bool GenerationSession::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        requestCancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace marvoxa
