// The socket boundary against loopback, in both trees (natively and under Wine).

#include "platform/net/socket.h"
#include "tests/platform/net/blocked_lookup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace qirelo::platform::net {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kLoopback = 0x7F000001;

struct ConnectedPair {
    Listener listener = Listener::listen({kLoopback, 0});
    Stream client = Stream::connect({kLoopback, listener.port()}, 5000ms);
    Stream server = *listener.accept(5000ms);
};

std::string receive_everything(Stream& stream) {
    std::string received;
    char buffer[4096];
    while (const std::size_t got = stream.receive(buffer, sizeof buffer)) {
        received.append(buffer, got);
    }
    return received;
}

TEST(Resolve, DottedAddressAndLocalhostGiveLoopback) {
    EXPECT_EQ(resolve("127.0.0.1", 80).ipv4, kLoopback);
    EXPECT_EQ(resolve("localhost", 12861).ipv4, kLoopback);
    EXPECT_EQ(to_string(resolve("127.0.0.1", 12861)), "127.0.0.1:12861");
}

TEST(Resolve, ALookupWithATimeOutOrSignalGivesTheSystemsAnswerToo) {
    AbortSignal abort;
    EXPECT_EQ(resolve("localhost", 80, 5000ms).ipv4, kLoopback);
    EXPECT_EQ(resolve("localhost", 80, kNoTimeout, &abort).ipv4, kLoopback);
}

TEST(Resolve, TheLookupsAnswerOrErrorComesBackFromItsThread) {
    const ScopedNameLookup lookup([](const std::string& host) -> std::uint32_t {
        if (host == "relay.test") {
            return 0x0A000001;
        }
        throw SocketError(11001, "Host not found.");
    });
    EXPECT_EQ(to_string(resolve("relay.test", 12861, 5000ms)), "10.0.0.1:12861");
    try {
        resolve("elsewhere.test", 80, 5000ms);
        ADD_FAILURE() << "no error";
    } catch (const SocketError& error) {
        EXPECT_EQ(error.code(), 11001);
        EXPECT_STREQ(error.what(), "Host not found.");
    }
}

TEST(Resolve, ADottedAddressIsNeverLookedUp) {
    testing::BlockedLookup lookup;
    AbortSignal abort;
    EXPECT_EQ(resolve("127.0.0.1", 80, 100ms, &abort).ipv4, kLoopback);
    EXPECT_EQ(lookup.started(), 0);
}

TEST(Resolve, AnAbortEndsALookupThatGetsNoAnswerAtOnce) {
    testing::BlockedLookup lookup;
    AbortSignal abort;
    auto resolving =
        std::async(std::launch::async, [&] { resolve("dead.test", 80, kNoTimeout, &abort); });
    ASSERT_TRUE(lookup.wait_started(1));
    abort.abort();
    ASSERT_TRUE(lookup.returns_while_blocked(resolving)) << "the abort did not end the lookup";
    EXPECT_THROW(resolving.get(), Aborted);
    EXPECT_THROW(resolve("dead.test", 80, kNoTimeout, &abort), Aborted) << "stays aborted";

    // The lookup given up on ends later by itself, into state nobody frees under it.
    EXPECT_EQ(lookup.ended(), 0);
    lookup.release();
    EXPECT_TRUE(lookup.wait_ended(1));
}

TEST(Resolve, ALookupThatGetsNoAnswerEndsWithItsTimeOut) {
    testing::BlockedLookup lookup;
    auto resolving = std::async(std::launch::async, [&] { resolve("dead.test", 80, 200ms); });
    ASSERT_TRUE(lookup.returns_while_blocked(resolving)) << "the time-out did not end the lookup";
    EXPECT_THROW(resolving.get(), LookupTimeout);
}

TEST(Stream, BytesCrossBothWaysAndShutdownReadsAsEndOfStream) {
    ConnectedPair pair;
    pair.client.send_all("GET / HTTP/1.1\r\n\r\n");
    pair.client.shutdown_send();
    EXPECT_EQ(receive_everything(pair.server), "GET / HTTP/1.1\r\n\r\n");

    pair.server.send_all("answer");
    pair.server.close();
    EXPECT_EQ(receive_everything(pair.client), "answer");
}

TEST(Stream, SendAllDeliversMoreThanTheSocketBuffersHold) {
    ConnectedPair pair;
    std::string big(4 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 + i / 4093);
    }
    auto reader = std::async(std::launch::async, [&] { return receive_everything(pair.server); });
    pair.client.send_all(big);
    pair.client.shutdown_send();
    EXPECT_TRUE(reader.get() == big);
}

TEST(Stream, WaitReadableTimesOutOnASilentPeerAndSeesDataOrClose) {
    ConnectedPair pair;
    const auto start = Clock::now();
    EXPECT_FALSE(pair.client.wait_readable(150ms));
    EXPECT_GE(Clock::now() - start, 140ms);

    pair.server.send_all("x");
    EXPECT_TRUE(pair.client.wait_readable(5000ms));
    char byte = 0;
    EXPECT_EQ(pair.client.receive(&byte, 1), 1u);

    pair.server.close();
    EXPECT_TRUE(pair.client.wait_readable(5000ms));
    EXPECT_EQ(pair.client.receive(&byte, 1), 0u);
}

TEST(Stream, ConnectToAClosedPortIsRefused) {
    std::uint16_t port = 0;
    {
        Listener listener = Listener::listen({kLoopback, 0});
        port = listener.port();
    }
    for (const Timeout timeout : {Timeout(5000ms), kNoTimeout}) {
        try {
            Stream::connect({kLoopback, port}, timeout);
            ADD_FAILURE() << "connected to a closed port";
        } catch (const SocketError& error) {
            EXPECT_STREQ(error.what(), "Connection refused.");
            EXPECT_NE(error.code(), 0);
        }
    }
}

TEST(Listener, AcceptReturnsNothingAfterItsTimeOut) {
    Listener listener = Listener::listen({kLoopback, 0});
    EXPECT_FALSE(listener.accept(50ms).has_value());
}

TEST(Listener, BindingAPortInUseFails) {
    Listener first = Listener::listen({kLoopback, 0});
    EXPECT_THROW(Listener::listen({kLoopback, first.port()}), SocketError);
}

TEST(AbortSignal, WakesABlockedWaitFromAnotherThreadAtOnce) {
    AbortSignal abort;
    Listener listener = Listener::listen({kLoopback, 0});
    Stream client = Stream::connect({kLoopback, listener.port()}, 5000ms, &abort);
    Stream server = *listener.accept(5000ms);

    auto waiter = std::async(std::launch::async, [&] {
        const auto start = Clock::now();
        EXPECT_THROW(client.wait_readable(kNoTimeout), Aborted);
        return Clock::now() - start;
    });
    std::this_thread::sleep_for(100ms);
    abort.abort();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_LT(waiter.get(), 3s);

    // Stays aborted: later calls end at once too.
    EXPECT_TRUE(abort.aborted());
    char byte = 0;
    EXPECT_THROW(client.receive(&byte, 1), Aborted);
    EXPECT_THROW(Stream::connect({kLoopback, listener.port()}, 5000ms, &abort), Aborted);
}

TEST(AbortSignal, WakesABlockedAcceptAndStreamsAcceptedWithIt) {
    AbortSignal abort;
    Listener listener = Listener::listen({kLoopback, 0});
    Stream client = Stream::connect({kLoopback, listener.port()}, 5000ms);
    std::optional<Stream> server = listener.accept(5000ms, &abort);
    ASSERT_TRUE(server.has_value());

    auto accepting = std::async(std::launch::async, [&] { listener.accept(kNoTimeout, &abort); });
    auto reading = std::async(std::launch::async, [&] {
        char byte = 0;
        server->receive(&byte, 1);
    });
    std::this_thread::sleep_for(100ms);
    abort.abort();
    ASSERT_EQ(accepting.wait_for(5s), std::future_status::ready);
    ASSERT_EQ(reading.wait_for(5s), std::future_status::ready);
    EXPECT_THROW(accepting.get(), Aborted);
    EXPECT_THROW(reading.get(), Aborted);
}

TEST(Stream, ClosedStreamRefusesUse) {
    Stream stream;
    EXPECT_FALSE(stream.is_open());
    EXPECT_THROW(stream.send_all("x"), SocketError);
}

} // namespace
} // namespace qirelo::platform::net
