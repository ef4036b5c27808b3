// The response reader against in-memory streams: no sockets involved.

#include "http/errors.h"
#include "http/response_reader.h"
#include "tests/http/support/memory_source.h"

#include <gtest/gtest.h>

namespace qirelo::http {
namespace {

using testing::MemorySource;

constexpr std::size_t kMaxLine = 16384;

struct Read {
    ResponseHead head;
    std::string body;
};

Read read_all(InputBuffer& input) {
    Read read;
    read.head = read_response_head(input, kMaxLine);
    read_response_body(input, read.head, read.body, kMaxLine);
    return read;
}

Read read_all(MemorySource& source) {
    InputBuffer input(source);
    return read_all(input);
}

Read read_all(std::string bytes) {
    MemorySource source(std::move(bytes));
    return read_all(source);
}

Read read_limited(MemorySource& source, std::uint64_t max_body_size) {
    InputBuffer input(source);
    Read read;
    read.head = read_response_head(input, kMaxLine);
    read_response_body(input, read.head, read.body, kMaxLine, max_body_size);
    return read;
}

Read read_limited(std::string bytes, std::uint64_t max_body_size) {
    MemorySource source(std::move(bytes));
    return read_limited(source, max_body_size);
}

std::string continues(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "HTTP/1.1 100 Continue\r\n\r\n";
    }
    return text;
}

TEST(ResponseCode, NumberAfterTheFirstSpaceOrMinusOne) {
    EXPECT_EQ(response_code("HTTP/1.1 200 OK"), 200);
    EXPECT_EQ(response_code("HTTP/1.1 200"), 200);
    EXPECT_EQ(response_code("HTTP/1.0  302  Found"), 302);
    EXPECT_EQ(response_code("HTTP/1.1200 OK"), -1);
    EXPECT_EQ(response_code("HTTP/1.1 2OO OK"), -1);
    EXPECT_EQ(response_code("HTTP/1.1 "), -1);
    EXPECT_EQ(response_code("HTTP/1.1 99999999999 Big"), -1);
    EXPECT_EQ(response_code(""), -1);
}

TEST(ChunkSize, HexUpToBlankOrExtensionElseZero) {
    EXPECT_EQ(chunk_size("1a"), 26u);
    EXPECT_EQ(chunk_size("1A;name=value"), 26u);
    EXPECT_EQ(chunk_size("10 ; ext"), 16u);
    EXPECT_EQ(chunk_size("zz"), 0u);
    EXPECT_EQ(chunk_size("-5"), 0u);
    EXPECT_EQ(chunk_size(""), 0u);
    EXPECT_EQ(chunk_size("ffffffffffffffff"), 0xffffffffffffffffu);
    EXPECT_EQ(chunk_size("10000000000000000"), 0u);
}

TEST(ReadResponseHead, RecordsFieldsAndJoinsContinuationLines) {
    const Read read = read_all("HTTP/1.1 302 Found\r\n"
                               "location: /next\r\n"
                               "X-Long: first\r\n"
                               "\tsecond\r\n"
                               "Connection:  Close \r\n"
                               "Content-Length: 4\r\n"
                               "\r\n"
                               "body");
    EXPECT_EQ(read.head.code, 302);
    EXPECT_EQ(read.head.location, "/next");
    EXPECT_EQ(read.head.connection, "Close");
    EXPECT_EQ(read.head.content_length, 4);
    EXPECT_EQ(read.head.value("x-long"), "first second");
    EXPECT_TRUE(read.head.complete);
    EXPECT_EQ(read.body, "body");
}

TEST(ReadResponseHead, LinesEndAtLfAndLoseOnlyOneCr) {
    const Read read = read_all("HTTP/1.1 200 OK\n"
                               "A: x\r\r\n"
                               "Content-Length: 0\n\n");
    EXPECT_EQ(read.head.status_line, "HTTP/1.1 200 OK");
    EXPECT_EQ(read.head.headers.front(), "A: x\r");
}

TEST(ReadResponseHead, SkipsEvery100ContinueButNotOther1xx) {
    EXPECT_EQ(read_all("HTTP/1.1 100 Continue\r\n\r\n"
                       "HTTP/1.1 100 Continue\r\nX: y\r\n\r\n"
                       "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
                  .body,
              "ok");
    // 101 is final for the reader and has no body: nothing is waited for.
    MemorySource source("HTTP/1.1 101 Switching Protocols\r\n\r\n");
    source.add(MemorySource::Stall{});
    EXPECT_EQ(read_all(source).head.code, 101);
}

TEST(ReadResponseHead, SixteenInterimAnswersInARowAreAProtocolError) {
    const std::string final_answer = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
    EXPECT_EQ(read_all(continues(kMaxInterimResponses - 1) + final_answer).body, "ok");
    try {
        read_all(continues(kMaxInterimResponses) + final_answer);
        ADD_FAILURE() << "no error";
    } catch (const EHttpProtocolError& error) {
        EXPECT_EQ(error.code(), 100);
        EXPECT_STREQ(error.what(), "HTTP/1.1 100 Continue");
    }
}

TEST(ReadResponseHead, ServerClosingBeforeAStatusLineIsConnectionClosed) {
    EXPECT_THROW(read_all(""), EHttpConnectionClosed);
    EXPECT_THROW(read_all("HTTP/1.1 200 O"), EHttpConnectionClosed);
    EXPECT_THROW(read_all("HTTP/1.1 100 Continue\r\n\r\n"), EHttpConnectionClosed);
}

TEST(ReadResponseHead, ServerClosingInTheHeadersEndsThem) {
    const Read read = read_all("HTTP/1.1 200 OK\r\nA: 1\r\nB: 2");
    EXPECT_FALSE(read.head.complete);
    EXPECT_EQ(read.head.headers.size(), 1u);
}

TEST(ReadResponseHead, OverlongLinesAndEndlessHeadersEndWithLineTooLong) {
    const std::string long_text(kMaxLine + 1, 'a');
    EXPECT_THROW(read_all("HTTP/1.1 200 " + long_text + "\r\n\r\n"), EHttpLineTooLong);
    EXPECT_THROW(read_all("HTTP/1.1 200 OK\r\nX: " + long_text + "\r\n\r\n"), EHttpLineTooLong);
    // A line that never ends is refused before much more than the limit is held.
    MemorySource endless;
    for (int i = 0; i < 100; ++i) {
        endless.add(std::string(InputBuffer::kReceiveSize, 'x'));
    }
    EXPECT_THROW(read_all(endless), EHttpLineTooLong);
    EXPECT_LT(endless.reads(), 5);

    std::string many = "HTTP/1.1 200 OK\r\n";
    for (std::size_t i = 0; i <= kMaxHeaderLines; ++i) {
        many += "X: y\r\n";
    }
    EXPECT_THROW(read_all(many + "\r\n"), EHttpLineTooLong);
    // Exactly the limit is fine, and a line of exactly the maximum length too.
    const std::string max_line(kMaxLine - 4, 'b');
    EXPECT_EQ(read_all("HTTP/1.1 200 OK\r\nX: " + max_line + "\r\nContent-Length: 1\r\n\r\nz").body,
              "z");
}

TEST(ReadResponseBody, ContentLengthReadsExactlyThatManyBytes) {
    MemorySource source("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcHTTP/1.1 204 No\r\n\r\n");
    InputBuffer input(source);
    EXPECT_EQ(read_all(input).body, "abc");
    EXPECT_EQ(read_all(input).head.code, 204);
}

TEST(ReadResponseBody, BodyCutShortByTheServerIsKeptAsReceived) {
    EXPECT_EQ(read_all("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc").body, "abc");
}

TEST(ReadResponseBody, AbsurdContentLengthAllocatesOnlyWhatArrives) {
    const Read read = read_all("HTTP/1.1 200 OK\r\nContent-Length: 900000000000000000\r\n\r\nabc");
    EXPECT_EQ(read.body, "abc");
    EXPECT_LT(read.body.capacity(), 1u << 20);
}

TEST(ReadResponseBody, ContentLengthThatIsNoNumberReadsUntilClose) {
    EXPECT_EQ(read_all("HTTP/1.1 200 OK\r\nContent-Length: ten\r\n\r\nall of it").body,
              "all of it");
    EXPECT_EQ(read_all("HTTP/1.1 200 OK\r\nContent-Length: -3\r\n\r\nall").body, "all");
    EXPECT_EQ(read_all("HTTP/1.1 200 OK\r\n\r\nuntil close").body, "until close");
}

TEST(ReadResponseBody, ZeroLength204And304WaitForNothing) {
    for (const char* head : {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
                             "HTTP/1.1 204 No Content\r\n\r\n", "HTTP/1.1 304 Not Modified\r\n\r\n",
                             "HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\n"}) {
        MemorySource source(head);
        source.add(MemorySource::Stall{});
        EXPECT_EQ(read_all(source).body, "") << head;
    }
}

TEST(ReadResponseBody, ChunkedWithExtensionsAndTrailersLeavesTheNextResponseInStep) {
    MemorySource source("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                        "5;name=value\r\nhello\r\n"
                        "1 \r\n,\r\n"
                        "6\r\n world\r\n"
                        "0\r\n"
                        "Expires: never\r\n"
                        "X-Trailer: 1\r\n"
                        "\r\n"
                        "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nnext");
    InputBuffer input(source);
    EXPECT_EQ(read_all(input).body, "hello, world");
    EXPECT_EQ(read_all(input).body, "next");
}

TEST(ReadResponseBody, ChunkedDataSplitAcrossReadsArrivesWhole) {
    MemorySource source;
    const std::string whole = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                              "a\r\n0123456789\r\n3\r\nabc\r\n0\r\n\r\n";
    for (const char c : whole) {
        source.add(std::string(1, c));
    }
    EXPECT_EQ(read_all(source).body, "0123456789abc");
}

TEST(ReadResponseBody, OnlyTheLowerCaseWordMeansChunked) {
    EXPECT_EQ(
        read_all("HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n").body,
        "3\r\nabc\r\n0\r\n\r\n");
    // Content-Length comes first.
    EXPECT_EQ(read_all("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nTransfer-Encoding: chunked\r\n\r\n"
                       "ab")
                  .body,
              "ab");
}

TEST(ReadResponseBody, NonHexChunkSizeEndsTheBody) {
    EXPECT_EQ(read_all("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                       "2\r\nab\r\nxyz\r\nmore\r\n")
                  .body,
              "ab");
}

TEST(ReadResponseBody, ChunkedBodyCutShortIsConnectionClosed) {
    EXPECT_THROW(read_all("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab"),
                 EHttpConnectionClosed);
    EXPECT_THROW(read_all("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n"),
                 EHttpConnectionClosed);
    // After the last chunk the body is whole; a close instead of trailers is fine.
    EXPECT_EQ(
        read_all("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n0\r\n").body,
        "ab");
}

TEST(ReadResponseBody, EveryKindOfBodyMayReachTheLimitButNotPassIt) {
    const std::string ten(10, 'x');
    for (const std::string& framing : std::vector<std::string>{
             "Content-Length: 10\r\n\r\n" + ten,
             "Transfer-Encoding: chunked\r\n\r\n4\r\nxxxx\r\n6\r\nxxxxxx\r\n0\r\n\r\n",
             "\r\n" + ten}) {
        const std::string bytes = "HTTP/1.1 200 OK\r\n" + framing;
        EXPECT_EQ(read_limited(bytes, 10).body, ten) << framing;
        EXPECT_THROW(read_limited(bytes, 9), EHttpResponseTooLarge) << framing;
    }
}

TEST(ReadResponseBody, ALengthOrChunkOverTheLimitIsRefusedBeforeItsBytesAreAwaited) {
    for (const char* head :
         {"Content-Length: 200000000\r\n\r\n", "Transfer-Encoding: chunked\r\n\r\nbebc200\r\n",
          "Transfer-Encoding: chunked\r\n\r\n8000\r\n"}) {
        // Reading on would meet the stall and time out instead.
        MemorySource source(std::string("HTTP/1.1 200 OK\r\n") + head);
        source.add(MemorySource::Stall{});
        try {
            read_limited(source, 0x7FFF);
            ADD_FAILURE() << "no error for " << head;
        } catch (const EHttpResponseTooLarge& error) {
            EXPECT_STREQ(error.what(),
                         "Response too large: the body exceeds the limit of 32767 bytes");
        }
    }
}

TEST(ReadResponseBody, ABodyReadUntilTheCloseStopsSoonAfterTheLimit) {
    MemorySource endless("HTTP/1.1 200 OK\r\n\r\n");
    for (int i = 0; i < 1000; ++i) {
        endless.add(std::string(InputBuffer::kReceiveSize, 'x'));
    }
    EXPECT_THROW(read_limited(endless, 64 * 1024), EHttpResponseTooLarge);
    EXPECT_LT(endless.reads(), 6);
}

TEST(ReadResponseBody, ATimeOutOfTheSourceReachesTheCaller) {
    MemorySource source("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc");
    source.add(MemorySource::Stall{});
    EXPECT_THROW(read_all(source), EHttpReadTimeout);
}

} // namespace
} // namespace qirelo::http
