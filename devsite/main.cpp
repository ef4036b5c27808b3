// qirelo-devsite: runs the companion until Ctrl+C.

#include "devsite/companion.h"
#include "devsite/options.h"
#include "devsite/stores/data_file.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <thread>

namespace {

using namespace qirelo::devsite;

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void request_stop(int) {
    stop_requested = 1;
}

void print_addresses(const Companion& companion) {
    const auto& a = companion.addresses();
    std::cout << "qirelo-devsite serving:\n"
              << "  site     " << companion.url(a.site) << "/\n"
              << "  mobile   " << companion.url(a.mobile) << "/   <- open this on the phone\n"
              << "  relay    " << companion.url(a.relay) << "/monitor/<member id>.jpg\n"
              << "  timer    " << companion.url(a.timer) << "/member/timer.asp\n"
              << "  control  " << companion.url(a.control) << "/\n";
    if (a.host == "0.0.0.0")
        std::cout << "Listening on every interface: on the phone use this machine's LAN address.\n";
    std::cout << "Demo member: demo / qirelo (id 10001). Ctrl+C stops.\n" << std::flush;
}

// Written whole under another name first, so a script polling for it never
// reads half of it.
void write_ports_file(const std::filesystem::path& path, const Addresses& a) {
    auto temporary = path;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << "site=" << a.site << "\nrelay=" << a.relay << "\ntimer=" << a.timer
             << "\nmobile=" << a.mobile << "\ncontrol=" << a.control << "\n";
        if (!file.flush())
            throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, path);
}

} // namespace

int main(int argc, char** argv) {
    CommandLine line;
    try {
        line = parse_command_line({argv + 1, argv + argc});
    } catch (const UsageError& error) {
        std::cerr << "qirelo-devsite: " << error.what() << "\n\n" << usage_text();
        return 2;
    }
    if (line.help) {
        std::cout << usage_text();
        return 0;
    }
    std::signal(SIGINT, request_stop);
    std::signal(SIGTERM, request_stop);
    try {
        Companion companion(line.companion);
        if (line.ports_file)
            write_ports_file(*line.ports_file, companion.addresses());
        print_addresses(companion);
        while (!stop_requested)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        companion.stop();
        std::cout << "qirelo-devsite stopped.\n";
    } catch (const std::exception& error) {
        std::cerr << "qirelo-devsite: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
