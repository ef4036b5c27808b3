// qirelo-http-bench: the mean time of one GET of a 1 KiB body over loopback,
// with THttpClient and with curl against the same server in the same run.
//   - kept alive: sequential GETs over one connection (the relay loop's case);
//   - fresh: the server closes after each response, so every GET connects.
// curl fetches the same URLs in one invocation (it reuses its connection the
// same way). The four runs take turns for --rounds rounds and each figure is
// the median round, so a busy machine disturbs both sides alike.
// Usage: qirelo-http-bench [--keep-alive N] [--fresh N] [--rounds R] [--no-curl]

#include "http/http_client.h"
#include "platform/net/socket.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace net = qirelo::platform::net;
using Clock = std::chrono::steady_clock;

// Answers every request with a 1 KiB body; paths under /close/ get
// "Connection: close" and the connection is closed after the response.
class BenchServer {
public:
    BenchServer() : listener_(net::Listener::listen({0x7F000001, 0})) {
        acceptor_ = std::thread([this] { accept_loop(); });
    }
    ~BenchServer() {
        stop_.abort();
        acceptor_.join();
        std::lock_guard lock(mutex_);
        for (std::thread& connection : connections_) {
            connection.join();
        }
    }
    std::uint16_t port() const { return listener_.port(); }
    int connections() const { return accepted_.load(); }

private:
    void accept_loop() {
        try {
            for (;;) {
                if (auto stream = listener_.accept(net::kNoTimeout, &stop_)) {
                    ++accepted_;
                    std::lock_guard lock(mutex_);
                    connections_.emplace_back(
                        [this, s = std::move(*stream)]() mutable { serve(s); });
                }
            }
        } catch (const net::Aborted&) {
        }
    }

    void serve(net::Stream& stream) {
        const std::string body(1024, 'x');
        const std::string head =
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 1024\r\n";
        const std::string keep = head + "\r\n" + body;
        const std::string close = head + "Connection: close\r\n\r\n" + body;
        std::string pending;
        char buffer[8192];
        try {
            for (;;) {
                std::size_t end;
                while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
                    const std::size_t got = stream.receive(buffer, sizeof buffer);
                    if (got == 0) {
                        return;
                    }
                    pending.append(buffer, got);
                }
                const bool closing = pending.compare(0, 11, "GET /close/") == 0;
                pending.erase(0, end + 4);
                stream.send_all(closing ? close : keep);
                if (closing) {
                    return;
                }
            }
        } catch (const std::exception&) {
        }
    }

    net::AbortSignal stop_;
    net::Listener listener_;
    std::thread acceptor_;
    std::atomic<int> accepted_{0};
    std::mutex mutex_;
    std::list<std::thread> connections_;
};

struct Result {
    double micros = -1; // mean per request; negative when not measured
    int connections = 0;
};

double micros_per_request(Clock::duration elapsed, int requests) {
    return std::chrono::duration<double, std::micro>(elapsed).count() / requests;
}

// Times `run` and counts the connections the server accepted meanwhile.
template <typename Run> Result measure(const BenchServer& server, int requests, Run run) {
    const int before = server.connections();
    const auto start = Clock::now();
    if (!run()) {
        return {};
    }
    return {micros_per_request(Clock::now() - start, requests), server.connections() - before};
}

Result client_run(const BenchServer& server, const std::string& base, const char* path,
                  int requests) {
    qirelo::http::THttpClient client;
    client.ReadTimeout = 9000;
    client.Get(base + path + "warm-up");
    return measure(server, requests, [&] {
        for (int i = 0; i < requests; ++i) {
            if (client.Get(base + path + std::to_string(i)).size() != 1024) {
                std::cerr << "short body\n";
                return false;
            }
        }
        return true;
    });
}

// curl's URL range fetches every URL in one process.
Result curl_run(const BenchServer& server, const std::string& base, const char* path,
                int requests) {
    std::string command("curl -s -f '");
    command.append(base).append(path).append("[1-").append(std::to_string(requests));
    command.append("]' > /dev/null");
    return measure(server, requests, [&] {
        if (std::system(command.c_str()) != 0) {
            std::cerr << "curl failed: " << command << "\n";
            return false;
        }
        return true;
    });
}

int count_after(int argc, char** argv, int& i) {
    if (i + 1 >= argc) {
        std::cerr << "missing number after " << argv[i] << "\n";
        std::exit(2);
    }
    return std::max(1, std::atoi(argv[++i]));
}

} // namespace

// The round with the median time.
Result median(std::vector<Result> rounds) {
    std::sort(rounds.begin(), rounds.end(),
              [](const Result& a, const Result& b) { return a.micros < b.micros; });
    return rounds[rounds.size() / 2];
}

int main(int argc, char** argv) {
    int keep_alive_requests = 10000;
    int fresh_requests = 1000;
    int rounds = 5;
    bool with_curl = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--keep-alive") {
            keep_alive_requests = count_after(argc, argv, i);
        } else if (arg == "--fresh") {
            fresh_requests = count_after(argc, argv, i);
        } else if (arg == "--rounds") {
            rounds = count_after(argc, argv, i);
        } else if (arg == "--no-curl") {
            with_curl = false;
        } else {
            std::cerr << "usage: qirelo-http-bench [--keep-alive N] [--fresh N] [--rounds R] "
                         "[--no-curl]\n";
            return 2;
        }
    }
    with_curl = with_curl && std::system("curl --version > /dev/null 2>&1") == 0;

    BenchServer server;
    const std::string base = std::string("http://127.0.0.1:") + std::to_string(server.port());
    std::vector<Result> client_keep, client_fresh, curl_keep, curl_fresh;
    for (int round = 0; round < rounds; ++round) {
        client_keep.push_back(client_run(server, base, "/keep/", keep_alive_requests));
        client_fresh.push_back(client_run(server, base, "/close/", fresh_requests));
        curl_keep.push_back(with_curl ? curl_run(server, base, "/keep/", keep_alive_requests)
                                      : Result{});
        curl_fresh.push_back(with_curl ? curl_run(server, base, "/close/", fresh_requests)
                                       : Result{});
    }

    const auto show = [](const Result& result) -> std::string {
        if (result.micros < 0) {
            return "-";
        }
        char text[48];
        std::snprintf(text, sizeof text, "%.1f us (%d conn.)", result.micros, result.connections);
        return text;
    };
    std::printf("mean time per GET of a 1 KiB body over loopback, median of %d rounds\n", rounds);
    std::printf("%-24s %8s  %-22s %-22s\n", "", "requests", "THttpClient", "curl");
    std::printf("%-24s %8d  %-22s %-22s\n", "kept-alive connection", keep_alive_requests,
                show(median(client_keep)).c_str(), show(median(curl_keep)).c_str());
    std::printf("%-24s %8d  %-22s %-22s\n", "fresh connection each", fresh_requests,
                show(median(client_fresh)).c_str(), show(median(curl_fresh)).c_str());
    return 0;
}
