#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace marvoxa {

// Starts ranges of written files towards the disk on a thread of its own. Starting writeback
// waits while the disk's queue is full; the copy goes on meanwhile, so reading, copying and
// writing to the disk all overlap. Only hints to the kernel: a failure shows at the closing
// sync. The descriptors must stay open until this is destroyed.
class BackgroundWriteback {
public:
    BackgroundWriteback();
    // Waits for the ranges handed over to have been started.
    ~BackgroundWriteback();
    BackgroundWriteback(const BackgroundWriteback&) = delete;
    BackgroundWriteback& operator=(const BackgroundWriteback&) = delete;

    void start(int descriptor, qint64 offset, qint64 length);

private:
    struct Range {
        int descriptor;
        qint64 offset;
        qint64 length;
    };

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Range> ranges_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace marvoxa
