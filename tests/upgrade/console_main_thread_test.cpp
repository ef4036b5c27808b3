#include "upgrade/console_main_thread.h"

#include "tests/upgrade/support/watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace qirelo::upgrade {
namespace {

using namespace std::chrono_literals;

TEST(ConsoleMainThread, RunsHandedOverCallsOnItsThreadWhileTheWorkerWaits) {
    ConsoleMainThread main;
    const auto mainId = std::this_thread::get_id();
    std::atomic<int> after{0};
    int ranOnMain = 0;
    std::thread worker([&] {
        for (int i = 0; i < 1000; ++i) {
            main.Synchronize([&] { ranOnMain += std::this_thread::get_id() == mainId; });
            after = i + 1; // the call has run before Synchronize returns
            EXPECT_EQ(ranOnMain, i + 1);
        }
    });
    while (after < 1000) {
        main.ServeCalls(10ms);
    }
    worker.join();
    EXPECT_EQ(ranOnMain, 1000);
}

TEST(ConsoleMainThread, AWorkerAsleepUntilItsCallHasRunIsWokenByIt) {
    ConsoleMainThread main;
    std::atomic<int> returned{0};
    int ran = 0;
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) {
            main.Synchronize([&] { ++ran; });
            ++returned;
        }
    });
    testing::Watchdog watchdog(10s, "a worker asleep while its call runs late");
    for (int i = 0; i < 50; ++i) {
        // Long past the worker's yielding: it has gone to sleep on its call.
        std::this_thread::sleep_for(i % 2 ? 2ms : 50us);
        while (returned == i) {
            main.ServeCalls(10ms);
        }
    }
    worker.join();
    EXPECT_EQ(ran, 50);
}

TEST(ConsoleMainThread, ACallsErrorIsRaisedOnTheWorker) {
    ConsoleMainThread main;
    std::atomic<bool> raised{false};
    std::thread worker([&] {
        try {
            main.Synchronize([] { throw std::runtime_error("handler failed"); });
        } catch (const std::runtime_error& error) {
            raised = std::string(error.what()) == "handler failed";
        }
    });
    while (!raised) {
        main.ServeCalls(10ms);
    }
    worker.join();
    EXPECT_TRUE(raised);
}

TEST(ConsoleMainThread, OnTheMainThreadACallRunsAtOnceAndServingWithoutCallsReturns) {
    ConsoleMainThread main;
    bool ran = false;
    main.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(main.IsMainThread());
    main.ServeCalls(1ms); // nothing handed over: returns after its time
}

TEST(ConsoleMainThread, AWakeEndsTheServingAtOnceOrTheNextOneWhenItCameBefore) {
    ConsoleMainThread main;
    {
        testing::Watchdog watchdog(5s, "serving after a wake that came before it");
        main.Wake();
        main.ServeCalls(1h);
    }
    std::atomic<bool> serving{false};
    std::thread waker([&] {
        while (!serving) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(20ms);
        main.Wake();
    });
    testing::Watchdog watchdog(5s, "serving while another thread wakes it");
    serving = true;
    main.ServeCalls(1h);
    waker.join();
}

} // namespace
} // namespace qirelo::upgrade
