#pragma once

// The main window on the headless backend and the platform fakes, as every
// test of its handlers builds it.

#include <chrono>
#include <functional>
#include <memory>

#include "app/form1.h"
#include "platform/fake/services.h"
#include "ui/fake/scripted_browser.h"
#include "ui/headless/backend.h"

namespace qirelo::app::testing {

struct Form1Harness {
    ui::headless::Backend backend;
    ui::Application application{backend};
    platform::fake::FakePlatform platform;
    platform::Services services = platform.services();
    ui::fake::ScriptedWeb web;
    std::unique_ptr<TForm1> form;
    ui::fake::ScriptedBrowser* engine1 = nullptr;
    ui::fake::ScriptedBrowser* engine2 = nullptr;

    std::string users_ini() const { return platform.machine.directory + "users.ini"; }

    // Creates the window (which runs FormCreate) with scripted browsers.
    TForm1& create() {
        form = std::make_unique<TForm1>(application, services);
        engine1 = &ui::fake::ScriptedBrowser::attach(form->web1, web);
        engine2 = &ui::fake::ScriptedBrowser::attach(form->web2, web);
        application.set_main_form(*form);
        return *form;
    }

    ui::headless::VirtualTimers& clock() { return backend.clock(); }

    // Plays the main thread until `done` (ten seconds at most): runs the
    // relay worker's handed-over calls.
    bool pump_until(const std::function<bool()>& done) {
        using namespace std::chrono_literals;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            application.process_messages();
            application.wait_synchronize(5ms);
        }
        return done();
    }
};

} // namespace qirelo::app::testing
