// The wizard's side picture read from a .bmp file: 24 and 32 bits, bottom-up
// and top-down rows; anything else, or a file cut short, gives no picture.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "upgrade/dialogs/picture_file.h"

namespace qirelo::upgrade {
namespace {

void Put16(std::vector<unsigned char>& out, std::size_t at, unsigned value) {
    out[at] = static_cast<unsigned char>(value);
    out[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A 3 x 2 bitmap: the top row red, green, blue; the bottom row white.
std::vector<unsigned char> Bmp(int bits, bool topDown) {
    const std::size_t rowBytes = (3 * bits / 8 + 3) / 4 * 4;
    std::vector<unsigned char> bmp(54 + 2 * rowBytes, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
    Put32(bmp, 10, 54);
    Put32(bmp, 14, 40);
    Put32(bmp, 18, 3);
    Put32(bmp, 22, topDown ? static_cast<std::uint32_t>(-2) : 2u);
    Put16(bmp, 26, 1);
    Put16(bmp, 28, static_cast<unsigned>(bits));
    const std::uint32_t top[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int y = 0; y < 2; ++y) {
        const int stored = topDown ? y : 1 - y;
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t rgb = y == 0 ? top[x] : 0xFFFFFF;
            const std::size_t at = 54 + stored * rowBytes + x * (bits / 8);
            bmp[at] = rgb & 0xFF;
            bmp[at + 1] = rgb >> 8 & 0xFF;
            bmp[at + 2] = rgb >> 16 & 0xFF;
        }
    }
    return bmp;
}

class PictureFileTest : public ::testing::Test {
protected:
    ~PictureFileTest() override { std::filesystem::remove(path); }
    std::string Write(const std::vector<unsigned char>& data) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
        return path;
    }
    std::string path =
        (std::filesystem::temp_directory_path() / "qirelo_picture_test.bmp").string();
};

TEST_F(PictureFileTest, ReadsRowsTopFirstWhateverTheirOrderInTheFile) {
    for (int bits : {24, 32})
        for (bool topDown : {false, true}) {
            const auto picture = ReadPictureFile(Write(Bmp(bits, topDown)));
            ASSERT_TRUE(picture) << bits << " bits";
            EXPECT_EQ(picture->width, 3);
            EXPECT_EQ(picture->height, 2);
            EXPECT_EQ(picture->at(0, 0), 0xFF0000u);
            EXPECT_EQ(picture->at(1, 0), 0x00FF00u);
            EXPECT_EQ(picture->at(2, 0), 0x0000FFu);
            EXPECT_EQ(picture->at(2, 1), 0xFFFFFFu);
        }
}

TEST_F(PictureFileTest, AnythingElseGivesNoPicture) {
    EXPECT_FALSE(ReadPictureFile(path)); // no file
    std::vector<unsigned char> cut = Bmp(24, false);
    cut.resize(cut.size() - 4);
    EXPECT_FALSE(ReadPictureFile(Write(cut)));
    std::vector<unsigned char> eight = Bmp(24, false);
    Put16(eight, 28, 8);
    EXPECT_FALSE(ReadPictureFile(Write(eight)));
    std::vector<unsigned char> huge = Bmp(24, false);
    Put32(huge, 18, 100000);
    EXPECT_FALSE(ReadPictureFile(Write(huge)));
    std::vector<unsigned char> far = Bmp(24, false);
    Put32(far, 10, 0xFFFFFFF0u);
    EXPECT_FALSE(ReadPictureFile(Write(far)));
    EXPECT_FALSE(ReadPictureFile(Write({'G', 'I', 'F', '8', '9', 'a'})));
}

} // namespace
} // namespace qirelo::upgrade
