// The queue between the audio thread's automation reports and the message thread's delivery: order,
// the per-parameter fallback when the ring is full, and a writer and a reader at once.

#include "aax_adapter/AutomationQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

using AAXClasses::AutomationQueue;

namespace
{

std::vector<std::pair<int32_t, float>> drainAll(AutomationQueue& queue)
{
    std::vector<std::pair<int32_t, float>> reports;
    queue.drain([&](const AutomationQueue::Report& report)
                { reports.emplace_back(report.index, report.value); });
    return reports;
}

} // namespace

TEST(AutomationQueue, ReportsArriveInTheOrderTheyWereMadeAndIndicesOutsideAreIgnored)
{
    AutomationQueue queue(4, 8);
    queue.push(2, 0.25f);
    queue.push(-1, 0.5f);
    queue.push(0, 0.75f);
    queue.push(4, 0.5f);
    queue.push(2, 1.0f);
    EXPECT_EQ((std::vector<std::pair<int32_t, float>>{{2, 0.25f}, {0, 0.75f}, {2, 1.0f}}), drainAll(queue));
    EXPECT_TRUE(drainAll(queue).empty());
    EXPECT_EQ(0u, queue.overflows());
}

TEST(AutomationQueue, AFullRingKeepsEachParametersLatestValueAndNothingOlderOvertakesIt)
{
    AutomationQueue queue(3, 4);
    for (int i = 0; i < 4; ++i)
        queue.push(0, 0.1f * static_cast<float>(i));
    // The ring is full: these keep only their latest values.
    queue.push(1, 0.5f);
    queue.push(1, 0.6f);
    queue.push(2, 0.9f);
    EXPECT_EQ(3u, queue.overflows());
    const auto first = drainAll(queue);
    ASSERT_EQ(6u, first.size());
    EXPECT_EQ(std::make_pair(0, 0.3f), first[3]);
    EXPECT_EQ(std::make_pair(1, 0.6f), first[4]);
    EXPECT_EQ(std::make_pair(2, 0.9f), first[5]);

    // Once delivered, the slots are empty and the ring takes reports again.
    queue.push(1, 0.8f);
    EXPECT_EQ((std::vector<std::pair<int32_t, float>>{{1, 0.8f}}), drainAll(queue));
}

// One writer and one reader at once, as the audio and message threads run: every parameter's
// delivered values only grow, and each one's last delivered value is the last one reported.
TEST(AutomationQueue, AWriterAndAReaderAtOnceDeliverEveryParametersValuesInOrder)
{
    constexpr int32_t kParameters = 16;
    constexpr int kReports = 200000;
    AutomationQueue queue(kParameters, 64);
    std::atomic<bool> written{false};
    std::thread writer(
        [&]
        {
            for (int i = 0; i < kReports; ++i)
                queue.push(i % kParameters, static_cast<float>(i));
            written = true;
        });
    std::vector<float> last(kParameters, -1.0f);
    bool ordered = true;
    const auto take = [&](const AutomationQueue::Report& report)
    {
        ordered = ordered && report.value > last[static_cast<size_t>(report.index)];
        last[static_cast<size_t>(report.index)] = report.value;
    };
    while (!written)
        queue.drain(take);
    writer.join();
    queue.drain(take);
    EXPECT_TRUE(ordered);
    for (int32_t index = 0; index < kParameters; ++index)
        EXPECT_EQ(static_cast<float>(kReports - kParameters + index), last[static_cast<size_t>(index)])
            << index;
}
