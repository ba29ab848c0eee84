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

}  // namespace

GenerationSession::GenerationSession(QWidget* window, QPushButton* button, QProgressBar* progress,
                                     int cueCount)
    : window_(window),
      button_(button),
      progress_(progress),
      caption_(button->text()),
      lastCue_(cueCount - 1) {
    button_->setText(QStringLiteral("Cancel"));
    progress_->setRange(0, std::max(0, lastCue_));
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
