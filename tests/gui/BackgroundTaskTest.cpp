// Work off the interface thread: progress and outcome arrive on the interface
// thread, in order; a stop request reaches the work; an exception is the outcome.
#include "gui/BackgroundTask.h"
#include "text/Errors.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace kavrin {
namespace {

bool onInterfaceThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

TEST(BackgroundTask, ProgressArrivesOnTheInterfaceThreadInOrderBeforeTheOutcome)
{
    constexpr int kSteps = 2000;
    std::vector<int> shown;
    bool allOnInterfaceThread = true;
    std::optional<int> delivered;
    std::size_t shownAtDelivery = 0;
    BackgroundTask task;
    task.start<int>(
        [&](BackgroundTask& control) {
            EXPECT_FALSE(onInterfaceThread());
            for (int step = 0; step < kSteps; ++step)
                control.post([&, step] {
                    allOnInterfaceThread = allOnInterfaceThread && onInterfaceThread();
                    shown.push_back(step);
                });
            return 42;
        },
        [&](TaskOutcome<int> outcome) {
            allOnInterfaceThread = allOnInterfaceThread && onInterfaceThread();
            shownAtDelivery = shown.size();
            delivered = outcome.get();
        });
    EXPECT_TRUE(task.running());
    task.waitForOutcome();
    EXPECT_FALSE(task.running());
    EXPECT_EQ(delivered, 42);
    EXPECT_TRUE(allOnInterfaceThread);
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(kSteps));
    EXPECT_EQ(shownAtDelivery, shown.size()) << "all progress is shown before the outcome";
    for (int step = 0; step < kSteps; ++step) ASSERT_EQ(shown[static_cast<std::size_t>(step)], step);
}

TEST(BackgroundTask, AStopRequestedFromTheInterfaceReachesTheWork)
{
    BackgroundTask task;
    std::optional<int> rounds;
    task.start<int>(
        [](BackgroundTask& control) {
            int round = 0;
            // Bounded, so a stop that never arrives fails instead of hanging.
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            for (; !control.stopRequested() && std::chrono::steady_clock::now() < end; ++round) {
                if (round == 3) control.post([&control] { control.requestStop(); });
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return control.stopRequested() ? round : -1;
        },
        [&](TaskOutcome<int> outcome) { rounds = outcome.get(); });
    task.waitForOutcome();
    ASSERT_TRUE(rounds.has_value());
    EXPECT_GE(*rounds, 4);

    // A new start clears the earlier request.
    bool stoppedAtStart = true;
    task.start<int>([&](BackgroundTask& control) { return stoppedAtStart = control.stopRequested(), 0; },
                    [](TaskOutcome<int>) {});
    task.waitForOutcome();
    EXPECT_FALSE(stoppedAtStart);
}

TEST(BackgroundTask, AnExceptionOfTheWorkIsItsOutcome)
{
    BackgroundTask task;
    std::string message;
    bool deliveredOnInterfaceThread = false;
    task.start<int>([](BackgroundTask&) -> int { throw CheckError("the work failed"); },
                    [&](TaskOutcome<int> outcome) {
                        deliveredOnInterfaceThread = onInterfaceThread();
                        EXPECT_TRUE(outcome.failed());
                        try {
                            outcome.get();
                        } catch (const CheckError& error) {
                            message = error.what();
                        }
                    });
    task.waitForOutcome();
    EXPECT_EQ(message, "the work failed");
    EXPECT_TRUE(deliveredOnInterfaceThread);
}

TEST(BackgroundTask, DestroyedWhileRunningStopsTheWorkAndDropsItsOutcome)
{
    bool delivered = false;
    auto stopped = std::make_shared<std::atomic<bool>>(false);
    {
        BackgroundTask task;
        task.start<int>(
            [stopped](BackgroundTask& control) {
                const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                while (!control.stopRequested() && std::chrono::steady_clock::now() < end)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                *stopped = control.stopRequested();
                return 0;
            },
            [&](TaskOutcome<int>) { delivered = true; });
    }
    EXPECT_TRUE(*stopped);
    QCoreApplication::processEvents();
    EXPECT_FALSE(delivered);
}

}  // namespace
}  // namespace kavrin
