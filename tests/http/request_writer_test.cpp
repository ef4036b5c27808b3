#include "http/request_writer.h"

#include <gtest/gtest.h>

namespace qirelo::http {
namespace {

Target target(std::string_view url) {
    return resolve_url(Target{}, url);
}

TEST(WriteGetRequest, HeadersInTheirOrderWithPortInHostOnlyWhenNot80) {
    EXPECT_EQ(write_get_request({}, target("http://relay:12861/monitor/7.jpg"),
                                THttpProtocolVersion::pv1_1, ""),
              "GET /monitor/7.jpg HTTP/1.1\r\n"
              "Content-Type: text/html\r\n"
              "Host: relay:12861\r\n"
              "Accept: text/html, */*\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Qirelo HTTP)\r\n"
              "\r\n");
    EXPECT_EQ(write_get_request({}, target("http://site/"), THttpProtocolVersion::pv1_1, "a=1"),
              "GET / HTTP/1.1\r\n"
              "Content-Type: text/html\r\n"
              "Host: site\r\n"
              "Accept: text/html, */*\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Qirelo HTTP)\r\n"
              "Cookie: a=1\r\n"
              "\r\n");
}

TEST(WriteGetRequest, Http10AsksForKeepAliveAndEmptyFieldsAreLeftOut) {
    THttpRequest request;
    request.ContentType.clear();
    EXPECT_EQ(write_get_request(request, target("http://site/x"), THttpProtocolVersion::pv1_0, ""),
              "GET /x HTTP/1.0\r\n"
              "Host: site\r\n"
              "Accept: text/html, */*\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Qirelo HTTP)\r\n"
              "Connection: keep-alive\r\n"
              "\r\n");
}

TEST(HeaderLine, LongLinesFoldAtBlanksAndKeepEveryByte) {
    std::string value;
    for (int i = 0; i < 300; ++i) {
        value += "c" + std::to_string(i) + "=vvvvvvvv; ";
    }
    value.pop_back();
    const std::string folded = header_line("Cookie", value);
    std::string unfolded;
    std::size_t start = 0;
    while (start < folded.size()) {
        const std::size_t end = folded.find("\r\n", start);
        const std::string line = folded.substr(start, end - start);
        EXPECT_LE(line.size(), kFoldLength);
        EXPECT_TRUE(start == 0 || line.front() == ' ');
        unfolded += line;
        start = end + 2;
    }
    EXPECT_GT(std::count(folded.begin(), folded.end(), '\n'), 3);
    EXPECT_EQ(unfolded, "Cookie: " + value);
}

TEST(HeaderLine, ValueWithoutBlanksStaysOnOneLine) {
    const std::string value(3000, 'x');
    EXPECT_EQ(header_line("Cookie", value), "Cookie: " + value + "\r\n");
}

} // namespace
} // namespace qirelo::http
