// The memory target: blocks filled in place, rewriting after a rewind, its
// growth, and handing its bytes over.

#include "upgrade/transfer_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace qirelo::upgrade {
namespace {

TEST(TupMemoryStream, KeepsOnlyWhatAReaderFilledInItsSpace) {
    TupMemoryStream stream;
    stream.Write("ab", 2);
    char* space = stream.SpaceFor(4096);
    std::memcpy(space, "cde", 3);
    stream.Filled(3);
    EXPECT_EQ(stream.Bytes(), "abcde");
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(stream.Position(), 5);

    stream.SpaceFor(4096);
    stream.Filled(0); // the read that finds the end
    EXPECT_EQ(stream.Bytes(), "abcde");
}

TEST(TupMemoryStream, ARewoundStreamIsOverwrittenInPlace) {
    TupMemoryStream stream;
    stream.Write("hello world", 11);
    stream.Rewind();
    stream.Write("HE", 2);
    EXPECT_EQ(stream.Bytes(), "HEllo world");
    EXPECT_EQ(stream.Position(), 2);

    std::memcpy(stream.SpaceFor(64), "LLO", 3);
    stream.Filled(3);
    EXPECT_EQ(stream.Bytes(), "HELLO world") << "a short fill keeps what follows";
    EXPECT_EQ(stream.Size(), 11);
}

TEST(TupMemoryStream, GrowsByAShareOfItsSizeNotByTheBlock) {
    TupMemoryStream stream;
    std::set<const char*> places;
    for (int block = 0; block < 256; ++block) { // 1 MiB, no length known
        std::memset(stream.SpaceFor(4096), 'x', 4096);
        stream.Filled(4096);
        places.insert(stream.Bytes().data());
    }
    EXPECT_EQ(stream.Size(), 1 << 20);
    EXPECT_LE(places.size(), 20u) << "moved " << places.size() << " times";
}

TEST(TupMemoryStream, AReservationHoldsTheBodyWithoutMoving) {
    TupMemoryStream stream;
    stream.Reserve(3 * 4096 + 4096);
    const char* first = stream.SpaceFor(4096);
    stream.Filled(4096);
    for (int block = 1; block < 3; ++block) {
        stream.SpaceFor(4096);
        stream.Filled(4096);
    }
    stream.SpaceFor(4096);
    stream.Filled(0);
    EXPECT_EQ(stream.Bytes().data(), first);
}

TEST(TupMemoryStream, TakeBytesHandsTheStorageOverAndEmptiesTheStream) {
    TupMemoryStream stream;
    const std::string body(100000, 'b');
    stream.Write(body.data(), body.size());
    const char* storage = stream.Bytes().data();

    const std::string taken = stream.TakeBytes();
    EXPECT_EQ(taken, body);
    EXPECT_EQ(taken.data(), storage) << "handed over, not copied";
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
    stream.Write("next", 4);
    EXPECT_EQ(stream.Bytes(), "next");
}

} // namespace
} // namespace qirelo::upgrade
