#include "dvd/background_walk.h"

#include <chrono>

namespace marvoxa {

BackgroundWalk::BackgroundWalk(const DvdFolder& folder) {
    // Sized before the thread starts, so that reading an SCR never races with an allocation.
    clocks_.resize(folder.titleVobSectors());
    thread_ = std::thread([this, folder] {
        Result<QList<VobuEntry>> walked = WalkTitleVobus(
            folder,
            [this](quint32 sectorsRead) {
                std::lock_guard lock(mutex_);
                sectorsRead_ = sectorsRead;
                changed_.notify_all();
                return !cancelled_;
            },
            &clocks_,
            [this](const VobuEntry& vobu) {
                std::lock_guard lock(mutex_);
                found_.append(vobu);
            },
            &survey_);
        std::lock_guard lock(mutex_);
        result_ = std::move(walked);
        changed_.notify_all();
    });
}

BackgroundWalk::~BackgroundWalk() {
    cancel();
    thread_.join();
}

BackgroundWalk::Progress BackgroundWalk::waitFor(quint32 sectors) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(100),
                      [&] { return sectorsRead_ >= sectors || result_.has_value(); });
    return {sectorsRead_, result_.has_value()};
}

QList<VobuEntry> BackgroundWalk::vobus() {
    std::lock_guard lock(mutex_);
    return found_;
}

void BackgroundWalk::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
}

Result<QList<VobuEntry>> BackgroundWalk::result() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return result_.has_value(); });
    return *result_;
}

}  // namespace marvoxa
