// The QR encoder, checked by a reader written here from the symbol's rules:
// finders, both copies of the format information, the zigzag, the blocks,
// Reed-Solomon syndromes, and the byte-mode payload.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ui/qr_code.h"

namespace qirelo::ui::qr {
namespace {

// GF(256), polynomial 0x11D, by repeated doubling (not the encoder's loop).
std::uint8_t gf_double(std::uint8_t a) {
    return static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1D : 0));
}
std::uint8_t gf_mul(std::uint8_t a, std::uint8_t b) {
    std::uint8_t result = 0;
    while (b) {
        if (b & 1)
            result ^= a;
        a = gf_double(a);
        b >>= 1;
    }
    return result;
}

// r(alpha^i) for i in 0..count-1: all zero for a valid codeword.
bool syndromes_vanish(const std::vector<std::uint8_t>& codeword, int count) {
    std::uint8_t alpha_i = 1;
    for (int i = 0; i < count; ++i) {
        std::uint8_t value = 0;
        for (std::uint8_t c : codeword)
            value = static_cast<std::uint8_t>(gf_mul(value, alpha_i) ^ c);
        if (value != 0)
            return false;
        alpha_i = gf_double(alpha_i);
    }
    return true;
}

struct Reader {
    const Code& code;
    int n = code.size;

    std::vector<bool> function_map() const {
        std::vector<bool> used(static_cast<std::size_t>(n * n), false);
        auto mark = [&](int x, int y) { used[static_cast<std::size_t>(y * n + x)] = true; };
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x)
                mark(x, y); // top-left finder, separator, format
        for (int y = 0; y < 9; ++y)
            for (int x = n - 8; x < n; ++x)
                mark(x, y);
        for (int y = n - 8; y < n; ++y)
            for (int x = 0; x < 9; ++x)
                mark(x, y);
        for (int i = 0; i < n; ++i) {
            mark(6, i);
            mark(i, 6);
        }
        if (code.version >= 2) {
            const int c = n - 7;
            for (int y = c - 2; y <= c + 2; ++y)
                for (int x = c - 2; x <= c + 2; ++x)
                    mark(x, y);
        }
        return used;
    }

    bool finder_at(int left, int top) const {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x) {
                const bool ring = x == 0 || y == 0 || x == 6 || y == 6;
                const bool centre = x >= 2 && x <= 4 && y >= 2 && y <= 4;
                if (code.at(left + x, top + y) != (ring || centre))
                    return false;
            }
        return true;
    }

    // Format bits 14..0 along the listed modules (column, row).
    int read(const std::vector<std::pair<int, int>>& modules) const {
        int bits = 0;
        for (auto [x, y] : modules)
            bits = bits << 1 | (code.at(x, y) ? 1 : 0);
        return bits;
    }
    int format_copy_1() const {
        return read({{0, 8},
                     {1, 8},
                     {2, 8},
                     {3, 8},
                     {4, 8},
                     {5, 8},
                     {7, 8},
                     {8, 8},
                     {8, 7},
                     {8, 5},
                     {8, 4},
                     {8, 3},
                     {8, 2},
                     {8, 1},
                     {8, 0}});
    }
    int format_copy_2() const {
        return read({{8, n - 1},
                     {8, n - 2},
                     {8, n - 3},
                     {8, n - 4},
                     {8, n - 5},
                     {8, n - 6},
                     {8, n - 7},
                     {n - 8, 8},
                     {n - 7, 8},
                     {n - 6, 8},
                     {n - 5, 8},
                     {n - 4, 8},
                     {n - 3, 8},
                     {n - 2, 8},
                     {n - 1, 8}});
    }

    static bool masked(int mask, int row, int column) {
        const int i = row, j = column;
        switch (mask) {
        case 0:
            return (i + j) % 2 == 0;
        case 1:
            return i % 2 == 0;
        case 2:
            return j % 3 == 0;
        case 3:
            return (i + j) % 3 == 0;
        case 4:
            return ((i / 2) + (j / 3)) % 2 == 0;
        case 5:
            return (i * j) % 2 + (i * j) % 3 == 0;
        case 6:
            return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default:
            return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
        }
    }

    // Pairs of columns from the right, up then down, column 6 left out.
    std::vector<bool> data_bits(int mask) const {
        const auto used = function_map();
        std::vector<bool> bits;
        int pair = 0;
        for (int right = n - 1; right >= 1; right -= 2, ++pair) {
            if (right == 6)
                --right;
            const bool up = pair % 2 == 0;
            for (int k = 0; k < n; ++k) {
                const int row = up ? n - 1 - k : k;
                for (int column = right; column >= right - 1; --column)
                    if (!used[static_cast<std::size_t>(row * n + column)])
                        bits.push_back(code.at(column, row) != masked(mask, row, column));
            }
        }
        return bits;
    }
};

std::string decode(const Code& code) {
    Reader reader{code};
    EXPECT_TRUE(reader.finder_at(0, 0));
    EXPECT_TRUE(reader.finder_at(code.size - 7, 0));
    EXPECT_TRUE(reader.finder_at(0, code.size - 7));
    EXPECT_TRUE(code.at(8, code.size - 8)) << "dark module";

    const int format = reader.format_copy_1();
    EXPECT_EQ(format, reader.format_copy_2());
    EXPECT_EQ(format, format_bits(code.level, code.mask));

    const std::vector<bool> bits = reader.data_bits(code.mask);
    std::vector<std::uint8_t> codewords(bits.size() / 8, 0);
    for (std::size_t i = 0; i < codewords.size() * 8; ++i)
        codewords[i / 8] = static_cast<std::uint8_t>(codewords[i / 8] << 1 | bits[i]);

    const BlockLayout layout = block_layout(code.version, code.level);
    const int blocks = layout.short_blocks + layout.long_blocks;
    std::vector<std::vector<std::uint8_t>> data(static_cast<std::size_t>(blocks));
    std::vector<std::vector<std::uint8_t>> ecc(static_cast<std::size_t>(blocks));
    std::size_t at = 0;
    for (int i = 0; i <= layout.short_data; ++i)
        for (int b = 0; b < blocks; ++b)
            if (i < layout.short_data + (b >= layout.short_blocks ? 1 : 0))
                data[static_cast<std::size_t>(b)].push_back(codewords.at(at++));
    for (int i = 0; i < layout.ecc_per_block; ++i)
        for (int b = 0; b < blocks; ++b)
            ecc[static_cast<std::size_t>(b)].push_back(codewords.at(at++));

    std::vector<std::uint8_t> payload;
    for (int b = 0; b < blocks; ++b) {
        std::vector<std::uint8_t> whole = data[static_cast<std::size_t>(b)];
        whole.insert(whole.end(), ecc[static_cast<std::size_t>(b)].begin(),
                     ecc[static_cast<std::size_t>(b)].end());
        EXPECT_TRUE(syndromes_vanish(whole, layout.ecc_per_block)) << "block " << b;
        payload.insert(payload.end(), data[static_cast<std::size_t>(b)].begin(),
                       data[static_cast<std::size_t>(b)].end());
    }

    EXPECT_EQ(payload.at(0) >> 4, 0b0100) << "byte mode";
    const int count = (payload[0] & 0x0F) << 4 | payload[1] >> 4;
    std::string text;
    for (int i = 0; i < count; ++i)
        text += static_cast<char>((payload[static_cast<std::size_t>(1 + i)] & 0x0F) << 4 |
                                  payload[static_cast<std::size_t>(2 + i)] >> 4);
    return text;
}

TEST(QrFormat, KnownFormatStringsForMaskZero) {
    EXPECT_EQ(format_bits(Level::L, 0), 0b111011111000100);
    EXPECT_EQ(format_bits(Level::M, 0), 0b101010000010010);
    EXPECT_EQ(format_bits(Level::Q, 0), 0b011010101011111);
    EXPECT_EQ(format_bits(Level::H, 0), 0b001011010001001);
}

TEST(QrFormat, AllThirtyTwoFormatsDifferInAtLeastSevenBits) {
    for (int a = 0; a < 32; ++a)
        for (int b = a + 1; b < 32; ++b) {
            const int x = format_bits(static_cast<Level>(a / 8), a % 8);
            const int y = format_bits(static_cast<Level>(b / 8), b % 8);
            EXPECT_GE(__builtin_popcount(static_cast<unsigned>(x ^ y)), 7) << a << " " << b;
        }
}

TEST(QrReedSolomon, KnownCodewordsOfTheHelloWorldExample) {
    const std::vector<std::uint8_t> data{32, 91, 11,  120, 209, 114, 220, 77,
                                         67, 64, 236, 17,  236, 17,  236, 17};
    EXPECT_EQ(reed_solomon(data, 10),
              (std::vector<std::uint8_t>{196, 35, 39, 119, 235, 215, 231, 226, 93, 23}));
}

TEST(QrLayout, CodewordsFillEveryDataModuleOfEachVersion) {
    for (int version = 1; version <= 6; ++version) {
        Code blank{version, Level::M, 0, 17 + 4 * version,
                   std::vector<std::uint8_t>(
                       static_cast<std::size_t>((17 + 4 * version) * (17 + 4 * version)))};
        const auto used = Reader{blank}.function_map();
        const auto modules = std::count(used.begin(), used.end(), false);
        for (Level level : {Level::L, Level::M, Level::Q, Level::H}) {
            const BlockLayout layout = block_layout(version, level);
            const int blocks = layout.short_blocks + layout.long_blocks;
            EXPECT_EQ(layout.data_codewords() + blocks * layout.ecc_per_block, modules / 8)
                << "version " << version;
        }
    }
}

TEST(QrEncode, AddressesDecodeBackAtEveryLevelAndSize) {
    for (Level level : {Level::L, Level::M, Level::Q, Level::H})
        for (std::string text :
             {std::string("http://127.0.0.1:12863/"), std::string("m.qirelo.example"),
              std::string(40, 'x'), std::string("a")}) {
            const Code code = encode(text, level);
            EXPECT_EQ(decode(code), text) << "level " << static_cast<int>(level) << " " << text;
        }
}

TEST(QrEncode, PicksTheSmallestVersionThatHoldsTheText) {
    EXPECT_EQ(encode(std::string(14, 'a'), Level::M).version, 1);
    EXPECT_EQ(encode(std::string(15, 'a'), Level::M).version, 2);
    EXPECT_EQ(encode(std::string(106, 'a'), Level::M).version, 6);
    EXPECT_EQ(decode(encode(std::string(106, 'z'), Level::M)), std::string(106, 'z'));
    EXPECT_THROW(encode(std::string(107, 'a'), Level::M), TooLong);
}

TEST(QrEncode, EachMaskGivesADecodableSymbolAndTheChoiceVaries) {
    std::vector<int> masks;
    for (int i = 0; i < 40; ++i)
        masks.push_back(encode("text " + std::to_string(i)).mask);
    std::sort(masks.begin(), masks.end());
    EXPECT_GT(std::unique(masks.begin(), masks.end()) - masks.begin(), 2);
}

TEST(QrRender, WholePixelsPerModuleWithAQuietZoneCentred) {
    const Code code = encode("http://127.0.0.1:12863/");
    ASSERT_EQ(code.size, 25); // version 2
    const Bitmap picture = render(code, 100);
    ASSERT_EQ(picture.width, 100);
    // 25 + 8 modules at 3 pixels leave one pixel, none on the left; the
    // finder starts after the 4-module quiet zone.
    const int origin = 0 + 4 * 3;
    EXPECT_EQ(picture.at(origin, origin), 0x000000u);
    EXPECT_EQ(picture.at(origin - 1, origin - 1), 0xFFFFFFu);
    EXPECT_EQ(picture.at(origin + 3 * 7 - 1, origin), 0x000000u);
    EXPECT_EQ(picture.at(origin + 3 * 7, origin), 0xFFFFFFu);
    EXPECT_EQ(picture.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.at(99, 99), 0xFFFFFFu);
}

} // namespace
} // namespace qirelo::ui::qr
