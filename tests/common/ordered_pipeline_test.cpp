#include "common/ordered_pipeline.h"

#include <gtest/gtest.h>

#include <QSet>

#include <atomic>
#include <chrono>
#include <thread>

namespace marvoxa {
namespace {

using namespace std::chrono_literals;

TEST(OrderedPipeline, HandsBackOutputsInSubmissionOrderThoughJobsFinishOutOfOrder) {
    OrderedPipeline<int> pipeline(4, 8);
    std::mutex mutex;
    QSet<Qt::HANDLE> workers;
    QList<int> outputs;
    constexpr int kJobs = 200;
    int submitted = 0;
    while (outputs.size() < kJobs) {
        if (submitted < kJobs && !pipeline.full()) {
            pipeline.submit([&mutex, &workers, index = submitted] {
                // Early jobs take longest, so later ones overtake them.
                std::this_thread::sleep_for(std::chrono::microseconds(200 * (7 - index % 8)));
                const std::lock_guard lock(mutex);
                workers.insert(QThread::currentThreadId());
                return index;
            });
            ++submitted;
        } else {
            outputs << pipeline.takeNext();
        }
    }
    EXPECT_TRUE(pipeline.empty());
    QList<int> expected;
    for (int i = 0; i < kJobs; ++i) {
        expected << i;
    }
    EXPECT_EQ(outputs, expected);
    EXPECT_GT(workers.size(), 1);
    EXPECT_FALSE(workers.contains(QThread::currentThreadId()));
}

TEST(OrderedPipeline, IsFullAtItsCapacityUntilAnOutputIsRead) {
    OrderedPipeline<int> pipeline(2, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(pipeline.full());
        pipeline.submit([i] { return i * 10; });
    }
    EXPECT_TRUE(pipeline.full());
    EXPECT_EQ(pipeline.takeNext(), 0);
    EXPECT_FALSE(pipeline.full());
    EXPECT_EQ(pipeline.takeNext(), 10);
    EXPECT_EQ(pipeline.takeNext(), 20);
    EXPECT_TRUE(pipeline.empty());
}

TEST(OrderedPipeline, ClosingWaitsForRunningJobsAndSkipsWaitingOnes) {
    std::atomic<int> finished = 0;
    std::atomic<int> started = 0;
    {
        OrderedPipeline<int> pipeline(1, 5);
        for (int i = 0; i < 5; ++i) {
            pipeline.submit([&] {
                ++started;
                std::this_thread::sleep_for(50ms);
                ++finished;
                return 0;
            });
        }
        while (started < 1) {
            std::this_thread::sleep_for(1ms);
        }
    }
    EXPECT_EQ(finished, started.load());
    EXPECT_LT(finished, 5);
}

}  // namespace
}  // namespace marvoxa
