// The update server below the site's "/setup/" folder, set up through the
// control API and fetched over loopback byte for byte, as the upgrader's
// transfer engine will meet it.

#include "devsite/companion.h"
#include "devsite/update/setup_folder.h"
#include "platform/crypto/signature_check.h"
#include "tests/platform/crypto/fixtures.h"
#include "tools/p256_signing.h"

#include "raw_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>

namespace qirelo::devsite {
namespace {

using namespace std::chrono_literals;
using test_support::RawClient;
using ::testing::HasSubstr;
using ::testing::Not;

// Everything the server sends for one request until it closes (the request
// asks it to), with the time the first byte took.
struct Exchange {
    std::string head, body;
    std::chrono::milliseconds first_byte{0};
    bool closed = false;

    std::string header(const std::string& name) const {
        std::smatch match;
        std::regex pattern("\r\n" + name + ": ([^\r]*)\r\n", std::regex::icase);
        return std::regex_search(head, match, pattern) ? match[1].str() : "<none>";
    }
};

Exchange fetch(std::uint16_t port, const std::string& method, const std::string& target,
               const std::string& extra_headers = "") {
    auto stream = platform::net::Stream::connect({0x7F000001, port}, 5s);
    const auto start = std::chrono::steady_clock::now();
    stream.send_all(method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra_headers +
                    "Connection: close\r\n\r\n");
    Exchange exchange;
    std::string bytes;
    char buffer[64 * 1024];
    while (stream.wait_readable(10s)) {
        const auto got = stream.receive(buffer, sizeof buffer);
        if (bytes.empty())
            exchange.first_byte = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
        if (got == 0) {
            exchange.closed = true;
            break;
        }
        bytes.append(buffer, got);
    }
    const auto end = bytes.find("\r\n\r\n");
    exchange.head = bytes.substr(0, end + 4);
    exchange.body = end == std::string::npos ? "" : bytes.substr(end + 4);
    return exchange;
}

int status_of(const Exchange& exchange) {
    return exchange.head.size() > 12 ? std::stoi(exchange.head.substr(9, 3)) : 0;
}

std::string dechunked(std::string body) {
    std::string out;
    for (;;) {
        const auto line_end = body.find("\r\n");
        const std::size_t size = std::stoul(body.substr(0, line_end), nullptr, 16);
        if (size == 0)
            return out;
        out += body.substr(line_end + 2, size);
        body.erase(0, line_end + 2 + size + 2);
    }
}

std::string generated(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i)
        bytes += static_cast<char>(i % 251);
    return bytes;
}

class UpdateServerTest : public ::testing::Test {
protected:
    // A control API call; its answer.
    test_support::RawResponse control(const std::string& method, const std::string& target,
                                      const std::string& body = "") {
        RawClient client(ports.control);
        client.send(method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " +
                    std::to_string(body.size()) + "\r\n\r\n" + body);
        return client.read_response().value_or(test_support::RawResponse{});
    }
    Exchange get(const std::string& target, const std::string& extra_headers = "") {
        return fetch(ports.site, "GET", target, extra_headers);
    }

    Companion companion{ephemeral_options()};
    const Addresses& ports = companion.addresses();
    const std::string program = std::string("MZ\0\x90\xff", 5) + std::string(3000, 'x');
};

TEST_F(UpdateServerTest, AnUploadedFileIsServedWholeWithItsDate) {
    ASSERT_EQ(
        control("PUT",
                "/update/files/Qirelo.exe?last-modified=Sun,%2006%20Nov%201994%2008:49:37%20GMT",
                program)
            .status,
        200);
    const Exchange answer = get("/setup/Qirelo.exe");
    EXPECT_EQ(status_of(answer), 200);
    EXPECT_EQ(answer.header("Content-Length"), std::to_string(program.size()));
    EXPECT_EQ(answer.header("Last-Modified"), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(answer.header("Content-Type"), "application/octet-stream");
    EXPECT_EQ(answer.body, program);

    const Exchange head = fetch(ports.site, "HEAD", "/setup/Qirelo.exe");
    EXPECT_EQ(head.header("Content-Length"), std::to_string(program.size()));
    EXPECT_EQ(head.body, "");
    EXPECT_EQ(status_of(fetch(ports.site, "POST", "/setup/Qirelo.exe")), 405);

    EXPECT_THAT(control("GET", "/update/files").body,
                HasSubstr("\"name\":\"Qirelo.exe\",\"size\":3005,\"generated\":false"));
    EXPECT_EQ(control("DELETE", "/update/files/Qirelo.exe").status, 204);
    EXPECT_EQ(status_of(get("/setup/Qirelo.exe")), 404);
    EXPECT_EQ(control("DELETE", "/update/files/Qirelo.exe").status, 404);
}

TEST_F(UpdateServerTest, AGeneratedFileOfAnySizeIsServedWithoutUploadingIt) {
    constexpr std::size_t kSize = 65 * 1024 * 1024 + 7; // past the upload limit
    ASSERT_EQ(control("PUT", "/update/files/big.exe?size=" + std::to_string(kSize)).status, 200);
    const Exchange answer = get("/setup/big.exe");
    EXPECT_EQ(answer.header("Content-Length"), std::to_string(kSize));
    ASSERT_EQ(answer.body.size(), kSize);
    EXPECT_TRUE(answer.body == generated(kSize)) << "byte i must be i mod 251";
    // Without a date given, the upload's own, as an HTTP date.
    EXPECT_TRUE(std::regex_match(answer.header("Last-Modified"),
                                 std::regex("[A-Z][a-z]{2}, \\d\\d [A-Z][a-z]{2} 20\\d\\d "
                                            "\\d\\d:\\d\\d:\\d\\d GMT")))
        << answer.header("Last-Modified");
    EXPECT_EQ(control("PUT", "/update/files/big.exe?size=10", "body").status, 400);
    EXPECT_EQ(control("PUT", "/update/files/big.exe?size=-1").status, 400);
}

TEST_F(UpdateServerTest, APathAnswersWithTheStatusSetForIt) {
    ASSERT_EQ(control("PUT", "/update/paths/qirelo_play.inf", "status=404").status, 200);
    const Exchange missing = get("/setup/qirelo_play.inf");
    EXPECT_EQ(status_of(missing), 404);
    EXPECT_THAT(missing.head, HasSubstr("HTTP/1.1 404 Not Found\r\n"));
    EXPECT_THAT(control("GET", "/update/paths").body,
                HasSubstr("\"path\":\"/setup/qirelo_play.inf\",\"status\":404"));
    ASSERT_EQ(control("DELETE", "/update/paths/qirelo_play.inf").status, 204);
    const Exchange info = get("/setup/qirelo_play.inf");
    EXPECT_EQ(status_of(info), 200);
    EXPECT_THAT(info.body, HasSubstr("#version="));
}

TEST_F(UpdateServerTest, BasicAuthenticationIsAskedUntilTheRightCredentialsCome) {
    control("PUT", "/update/files/Qirelo.exe", program);
    ASSERT_EQ(control("PUT", "/update/paths/Qirelo.exe",
                      "user=member&password=s3cret&realm=Qirelo+%E5%8D%87%E7%BA%A7")
                  .status,
              200);
    const Exchange asked = get("/setup/Qirelo.exe");
    EXPECT_EQ(status_of(asked), 401);
    EXPECT_THAT(asked.head, HasSubstr("HTTP/1.1 401 Unauthorized\r\n"));
    EXPECT_EQ(asked.header("WWW-Authenticate"), "Basic realm=\"Qirelo 升级\"");
    EXPECT_EQ(status_of(get("/setup/Qirelo.exe",
                            "Authorization: " + basic_credentials("member", "wrong") + "\r\n")),
              401);
    const Exchange let_in = get("/setup/Qirelo.exe",
                                "Authorization: " + basic_credentials("member", "s3cret") + "\r\n");
    EXPECT_EQ(status_of(let_in), 200);
    EXPECT_EQ(let_in.body, program);
    // "member:s3cret" in base64, as any client writes it.
    EXPECT_EQ(basic_credentials("member", "s3cret"), "Basic bWVtYmVyOnMzY3JldA==");
}

TEST_F(UpdateServerTest, ACutOffBodyAnnouncesTheWholeAndCloses) {
    control("PUT", "/update/files/Qirelo.exe", program);
    control("PUT", "/update/paths/Qirelo.exe", "cut=1000");
    const Exchange answer = get("/setup/Qirelo.exe");
    EXPECT_EQ(status_of(answer), 200);
    EXPECT_EQ(answer.header("Content-Length"), std::to_string(program.size()));
    EXPECT_EQ(answer.body, program.substr(0, 1000));
    EXPECT_TRUE(answer.closed);
}

TEST_F(UpdateServerTest, AStallHoldsTheHeaderBackForAsLongAsAsked) {
    control("PUT", "/update/files/Qirelo.exe", program);
    control("PUT", "/update/paths/Qirelo.exe", "stall=400");
    const Exchange answer = get("/setup/Qirelo.exe");
    EXPECT_GE(answer.first_byte, 400ms);
    EXPECT_EQ(answer.body, program);
    EXPECT_EQ(control("PUT", "/update/paths/Qirelo.exe", "stall=60001").status, 400);
}

TEST_F(UpdateServerTest, ARedirectNamesItsTarget) {
    control("PUT", "/update/paths/old.exe", "redirect=/setup/Qirelo.exe&redirect-status=307");
    const Exchange answer = get("/setup/old.exe");
    EXPECT_THAT(answer.head, HasSubstr("HTTP/1.1 307 Temporary Redirect\r\n"));
    EXPECT_EQ(answer.header("Location"), "/setup/Qirelo.exe");
    control("PUT", "/update/paths/old.exe", "redirect=http://127.0.0.1/x");
    EXPECT_EQ(status_of(get("/setup/old.exe")), 302);
    EXPECT_EQ(control("PUT", "/update/paths/old.exe", "redirect=/x&redirect-status=304").status,
              400);
}

TEST_F(UpdateServerTest, BodiesGoChunkedOrWithoutALength) {
    control("PUT", "/update/files/Qirelo.exe", program);
    control("PUT", "/update/paths/Qirelo.exe", "length=chunked");
    const Exchange chunked = get("/setup/Qirelo.exe");
    EXPECT_EQ(chunked.header("Transfer-Encoding"), "chunked");
    EXPECT_EQ(chunked.header("Content-Length"), "<none>");
    EXPECT_EQ(dechunked(chunked.body), program);

    control("PUT", "/update/paths/Qirelo.exe", "length=none");
    const Exchange unannounced = get("/setup/Qirelo.exe");
    EXPECT_EQ(unannounced.header("Content-Length"), "<none>");
    EXPECT_EQ(unannounced.header("Transfer-Encoding"), "<none>");
    EXPECT_EQ(unannounced.body, program);
    EXPECT_TRUE(unannounced.closed);

    // The info file too, where the upgrader reads it without a length.
    control("PUT", "/update/paths/qirelo_play.inf", "length=none");
    EXPECT_THAT(get("/setup/qirelo_play.inf").body, HasSubstr("#version="));
}

TEST_F(UpdateServerTest, AKeptConnectionServesTheNextRequestAfterADeliveredAnswer) {
    control("PUT", "/update/files/a.exe", "first");
    control("PUT", "/update/paths/a.exe", "length=chunked&stall=10");
    auto stream = platform::net::Stream::connect({0x7F000001, ports.site}, 5s);
    const auto read_until = [&](const std::string& end) {
        std::string bytes;
        char buffer[4096];
        while (bytes.find(end) == std::string::npos && stream.wait_readable(5s)) {
            const auto got = stream.receive(buffer, sizeof buffer);
            if (got == 0)
                break;
            bytes.append(buffer, got);
        }
        return bytes;
    };
    stream.send_all("GET /setup/a.exe HTTP/1.1\r\nHost: h\r\n\r\n");
    const std::string first = read_until("0\r\n\r\n");
    EXPECT_THAT(first, HasSubstr("Connection: keep-alive"));
    EXPECT_THAT(first, HasSubstr("\r\n\r\n5\r\nfirst\r\n0\r\n\r\n"));
    stream.send_all("GET /setup/qirelo_play.inf HTTP/1.1\r\nHost: h\r\n\r\n");
    EXPECT_THAT(read_until("#message="), HasSubstr("HTTP/1.1 200 OK\r\n"));
}

TEST_F(UpdateServerTest, BadSettingsAreRefusedAndResetClearsEverything) {
    for (const char* form : {"status=abc", "status=99", "length=sometimes", "cut=-3",
                             "password=only", "realm=a%0D%0AX-Injected:%20yes"})
        EXPECT_EQ(control("PUT", "/update/paths/Qirelo.exe", form).status, 400) << form;
    EXPECT_EQ(control("GET", "/update/paths/Qirelo.exe").status, 404);

    control("PUT", "/update/files/Qirelo.exe", program);
    control("PUT", "/update/paths/qirelo_play.inf", "status=500");
    ASSERT_EQ(control("POST", "/reset").status, 204);
    EXPECT_EQ(status_of(get("/setup/Qirelo.exe")), 404);
    EXPECT_EQ(status_of(get("/setup/qirelo_play.inf")), 200);
    control("PUT", "/update/files/Qirelo.exe", program);
    ASSERT_EQ(control("DELETE", "/update").status, 204);
    EXPECT_THAT(control("GET", "/update/files").body, Not(HasSubstr("Qirelo.exe")));
}

// With a private key the companion plays the publisher: every uploaded file's
// ".sig" is its signature, which the client's own check accepts.
TEST(SignedUpdateServer, ServesTheSignatureOfEachUploadedFile) {
    const auto key = std::filesystem::temp_directory_path() / "qirelo-devsite-test-private.pem";
    std::ofstream(key, std::ios::binary) << platform::crypto::fixtures::kTestPrivateKey;
    CompanionOptions options = ephemeral_options();
    options.update_key = key;
    Companion companion(options);
    const std::string program = "MZ a program of the update";
    companion.state().update.put_file("Qirelo.exe",
                                      {std::make_shared<const std::string>(program), program.size(),
                                       "Sun, 06 Nov 1994 08:49:37 GMT"});
    companion.state().update.put_file("big.exe", {nullptr, 100000, ""});

    const Exchange signature = fetch(companion.addresses().site, "GET", "/setup/Qirelo.exe.sig");
    ASSERT_EQ(status_of(signature), 200);
    const auto file = std::filesystem::temp_directory_path() / "qirelo-devsite-test-signed";
    std::ofstream(file, std::ios::binary) << program;
    const platform::crypto::SignatureCheck check(platform::crypto::fixtures::kTestPublicKey);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(signature.body.data());
    EXPECT_TRUE(check.verifies(file, {bytes, signature.body.size()}));
    // An uploaded signature stands; a generated file and a missing one have none.
    companion.state().update.put_file("Qirelo.exe.sig",
                                      {std::make_shared<const std::string>("uploaded"), 8, ""});
    EXPECT_EQ(fetch(companion.addresses().site, "GET", "/setup/Qirelo.exe.sig").body, "uploaded");
    EXPECT_EQ(status_of(fetch(companion.addresses().site, "GET", "/setup/big.exe.sig")), 404);
    EXPECT_EQ(status_of(fetch(companion.addresses().site, "GET", "/setup/none.exe.sig")), 404);

    // A key that cannot sign stops the companion before it serves.
    std::ofstream(key, std::ios::binary) << "not a key";
    EXPECT_THROW(Companion{options}, tools::SigningError);
    std::filesystem::remove(key);
    std::filesystem::remove(file);
}

} // namespace
} // namespace qirelo::devsite
