#include "dvd/background_writeback.h"

#include <fcntl.h>

namespace marvoxa {

BackgroundWriteback::BackgroundWriteback() {
    thread_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        while (true) {
            changed_.wait(lock, [&] { return stopping_ || !ranges_.empty(); });
            if (ranges_.empty()) {
                return;
            }
            const Range range = ranges_.front();
            ranges_.pop_front();
            lock.unlock();
            ::sync_file_range(range.descriptor, range.offset, range.length, SYNC_FILE_RANGE_WRITE);
            lock.lock();
        }
    });
}

BackgroundWriteback::~BackgroundWriteback() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWriteback::start(int descriptor, qint64 offset, qint64 length) {
    {
        std::lock_guard lock(mutex_);
        ranges_.push_back({descriptor, offset, length});
    }
    changed_.notify_all();
}

}  // namespace marvoxa
