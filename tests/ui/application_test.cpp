#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/headless/backend.h"
#include "ui/message_box.h"

namespace qirelo::ui {
namespace {

using namespace std::chrono_literals;

struct ApplicationFixture : ::testing::Test {
    headless::Backend backend;
    Application app{backend};

    // Pumps until `done` or a generous deadline; tests never hang.
    void pump_until(const std::atomic<bool>& done) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!done && std::chrono::steady_clock::now() < deadline)
            app.wait_synchronize(10ms);
    }
};

TEST_F(ApplicationFixture, HookSeesEveryMessageBeforeDispatchAndHandledOnesStopThere) {
    std::vector<std::uint32_t> hooked;
    std::size_t passed_on = 0;
    app.OnMessage = [&](Message& message, bool& handled) {
        hooked.push_back(message.message);
        EXPECT_EQ(backend.dispatched.size(), passed_on); // not dispatched yet
        handled = message.message == kKeyDown;
        passed_on += handled ? 0 : 1;
    };
    backend.post(Message{1, kKeyDown, kVkTab, 0});
    backend.post(Message{1, kChar, 'a', 0});
    backend.post(Message{2, 0x0200, 0, 0});
    app.process_messages();

    EXPECT_EQ(hooked, (std::vector<std::uint32_t>{kKeyDown, kChar, 0x0200}));
    ASSERT_EQ(backend.dispatched.size(), 2u);
    EXPECT_EQ(backend.dispatched[0].message, kChar);
    EXPECT_EQ(backend.translated.size(), 2u);
}

TEST_F(ApplicationFixture, HookErrorGoesToTheErrorHandlerAndTheMessageGoesOn) {
    app.set_title("title");
    app.OnMessage = [](Message&, bool&) { throw std::runtime_error("hook broke"); };
    backend.post(Message{1, kChar, 'a', 0});
    app.process_messages();
    ASSERT_EQ(backend.boxes().shown.size(), 1u);
    EXPECT_EQ(backend.boxes().shown[0].text, "hook broke.");
    EXPECT_EQ(backend.dispatched.size(), 1u);
}

TEST_F(ApplicationFixture, SynchronizeRunsTheCallOnTheMainThreadWhileTheWorkerWaits) {
    std::atomic<bool> done{false};
    std::thread::id ran_on;
    int value = 0;
    std::thread worker([&] {
        app.synchronize([&] {
            ran_on = std::this_thread::get_id();
            value = 42;
        });
        EXPECT_EQ(value, 42); // the call has finished when synchronize returns
        done = true;
    });
    pump_until(done);
    worker.join();
    EXPECT_EQ(ran_on, std::this_thread::get_id());
}

TEST_F(ApplicationFixture, SynchronizeOnTheMainThreadRunsAtOnce) {
    bool ran = false;
    app.synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(ApplicationFixture, ErrorOfASynchronizedCallIsRaisedInTheWorker) {
    std::atomic<bool> done{false};
    std::string caught;
    std::thread worker([&] {
        try {
            app.synchronize([] { throw std::runtime_error("navigate failed"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
        done = true;
    });
    pump_until(done);
    worker.join();
    EXPECT_EQ(caught, "navigate failed");
    EXPECT_TRUE(backend.boxes().shown.empty());
}

TEST_F(ApplicationFixture, CallsFromSeveralWorkersEachRunOnceOnTheMainThread) {
    constexpr int kWorkers = 4, kCalls = 50;
    std::atomic<int> finished{0};
    int total = 0; // main thread only
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&] {
            for (int i = 0; i < kCalls; ++i)
                app.synchronize([&] { ++total; });
            ++finished;
        });
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (finished < kWorkers && std::chrono::steady_clock::now() < deadline)
        app.wait_synchronize(5ms);
    for (auto& t : workers)
        t.join();
    EXPECT_EQ(total, kWorkers * kCalls);
}

TEST_F(ApplicationFixture, AnInterruptEndsTheWaitForACallWithoutRunningOne) {
    const auto start = std::chrono::steady_clock::now();
    app.interrupt_wait(); // before the wait: the next one ends at once
    EXPECT_FALSE(app.wait_synchronize(30s));
    std::thread interrupter([&] {
        std::this_thread::sleep_for(20ms);
        app.interrupt_wait();
    });
    EXPECT_FALSE(app.wait_synchronize(30s));
    interrupter.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 25s) << "the waits ran their time";

    std::atomic<bool> ran{false};
    std::thread worker([&] { app.synchronize([&] { ran = true; }); });
    EXPECT_TRUE(app.wait_synchronize(30s)) << "a call still ends the wait and runs";
    worker.join();
    EXPECT_TRUE(ran);
}

TEST(Application, DestroyedWhileAWorkerWaitsCancelsTheCallAndLetsTheWorkerGo) {
    headless::Backend backend;
    auto app = std::make_unique<Application>(backend);
    std::atomic<bool> cancelled{false};
    std::thread worker([&] {
        try {
            app->synchronize([] { FAIL() << "the call ran after all"; });
        } catch (const SynchronizeCancelled&) {
            cancelled = true;
        }
    });
    while (app->pending_calls() == 0)
        std::this_thread::yield();
    app.reset();
    worker.join();
    EXPECT_TRUE(cancelled);
}

TEST_F(ApplicationFixture, RunEndsWhenTheMainFormClosesFromAWorker) {
    Form form("form");
    bool shown = false;
    form.OnShow = [&](Component&) { shown = true; };
    app.set_main_form(form);
    std::thread worker([&] { app.synchronize([&] { form.close(); }); });
    app.run();
    worker.join();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(app.terminated());
    EXPECT_FALSE(form.visible());
}

TEST_F(ApplicationFixture, CloseActionNoneKeepsTheFormAndTheLoop) {
    Form form("form");
    app.set_main_form(form);
    form.OnClose = [](Component&, CloseAction& action) { action = CloseAction::None; };
    form.show_form();
    form.close();
    EXPECT_TRUE(form.visible());
    EXPECT_FALSE(app.terminated());
}

TEST_F(ApplicationFixture, ErrorHandlerShowsTheMessageWithAFullStopAndTheStopIcon) {
    app.set_title("Qirelo");
    app.guard([] { throw std::runtime_error("'zz' is not a valid integer value"); });
    app.guard([] { throw std::runtime_error("ends with a stop."); });
    ASSERT_EQ(backend.boxes().shown.size(), 2u);
    EXPECT_EQ(backend.boxes().shown[0].text, "'zz' is not a valid integer value.");
    EXPECT_EQ(backend.boxes().shown[0].caption, "Qirelo");
    EXPECT_EQ(backend.boxes().shown[0].flags, kMbIconError);
    EXPECT_EQ(backend.boxes().shown[1].text, "ends with a stop.");
}

TEST_F(ApplicationFixture, MessageBoxDefaultsToTheInformationIconAndTheTitle) {
    app.set_title("Qirelo");
    backend.boxes().answers = {kIdYes};
    EXPECT_EQ(app.message_box("text"), kIdYes);
    EXPECT_EQ(app.message_box("again"), kIdOk);
    EXPECT_EQ(backend.boxes().shown[0].flags, 64u);
    EXPECT_EQ(backend.boxes().shown[0].caption, "Qirelo");
}

} // namespace
} // namespace qirelo::ui
