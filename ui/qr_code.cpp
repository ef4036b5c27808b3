#include "ui/qr_code.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace qirelo::ui::qr {
namespace {

constexpr int kMaxVersion = 6;

// Error-correction layout per version (1..6) and level (L, M, Q, H):
// codewords per block, short blocks, their data codewords, long blocks.
constexpr std::array<std::array<BlockLayout, 4>, kMaxVersion> kLayouts{{
    {{{7, 1, 19, 0}, {10, 1, 16, 0}, {13, 1, 13, 0}, {17, 1, 9, 0}}},
    {{{10, 1, 34, 0}, {16, 1, 28, 0}, {22, 1, 22, 0}, {28, 1, 16, 0}}},
    {{{15, 1, 55, 0}, {26, 1, 44, 0}, {18, 2, 17, 0}, {22, 2, 13, 0}}},
    {{{20, 1, 80, 0}, {18, 2, 32, 0}, {26, 2, 24, 0}, {16, 4, 9, 0}}},
    {{{26, 1, 108, 0}, {24, 2, 43, 0}, {18, 2, 15, 2}, {22, 2, 11, 2}}},
    {{{18, 2, 68, 0}, {16, 4, 27, 0}, {24, 4, 19, 0}, {28, 4, 15, 0}}},
}};

// The format's two level bits: L 01, M 00, Q 11, H 10.
int level_bits(Level level) {
    switch (level) {
    case Level::L:
        return 1;
    case Level::M:
        return 0;
    case Level::Q:
        return 3;
    case Level::H:
        return 2;
    }
    return 0;
}

// GF(256) with the polynomial x^8 + x^4 + x^3 + x^2 + 1.
std::uint8_t gf_multiply(std::uint8_t a, std::uint8_t b) {
    unsigned product = 0;
    for (int bit = 7; bit >= 0; --bit) {
        product = (product << 1) ^ ((product >> 7) * 0x11D);
        product ^= ((b >> bit) & 1u) * a;
    }
    return static_cast<std::uint8_t>(product);
}

class BitWriter {
public:
    void put(unsigned value, int count) {
        for (int bit = count - 1; bit >= 0; --bit)
            bits_.push_back(((value >> bit) & 1u) != 0);
    }
    std::size_t size() const { return bits_.size(); }
    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out(bits_.size() / 8, 0);
        for (std::size_t i = 0; i < out.size() * 8; ++i)
            out[i / 8] |= static_cast<std::uint8_t>(bits_[i] << (7 - i % 8));
        return out;
    }

private:
    std::vector<bool> bits_;
};

// Mode, count, bytes, terminator, padding to the version's data capacity.
std::vector<std::uint8_t> data_codewords(std::string_view bytes, const BlockLayout& layout) {
    const std::size_t capacity_bits = static_cast<std::size_t>(layout.data_codewords()) * 8;
    BitWriter bits;
    bits.put(0b0100, 4); // byte mode
    bits.put(static_cast<unsigned>(bytes.size()), 8);
    for (char c : bytes)
        bits.put(static_cast<unsigned char>(c), 8);
    bits.put(0, static_cast<int>(std::min<std::size_t>(4, capacity_bits - bits.size())));
    bits.put(0, static_cast<int>((8 - bits.size() % 8) % 8));
    for (bool toggle = false; bits.size() < capacity_bits; toggle = !toggle)
        bits.put(toggle ? 0x11 : 0xEC, 8);
    return bits.bytes();
}

// Blocks, each followed by its error correction, interleaved column-wise.
std::vector<std::uint8_t> interleave(const std::vector<std::uint8_t>& data,
                                     const BlockLayout& layout) {
    std::vector<std::vector<std::uint8_t>> blocks, eccs;
    std::size_t at = 0;
    for (int b = 0; b < layout.short_blocks + layout.long_blocks; ++b) {
        const int length = layout.short_data + (b >= layout.short_blocks ? 1 : 0);
        blocks.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(at),
                            data.begin() +
                                static_cast<std::ptrdiff_t>(at + static_cast<std::size_t>(length)));
        at += static_cast<std::size_t>(length);
        eccs.push_back(reed_solomon(blocks.back(), layout.ecc_per_block));
    }
    std::vector<std::uint8_t> out;
    for (int i = 0; i <= layout.short_data; ++i)
        for (const auto& block : blocks)
            if (i < static_cast<int>(block.size()))
                out.push_back(block[static_cast<std::size_t>(i)]);
    for (int i = 0; i < layout.ecc_per_block; ++i)
        for (const auto& ecc : eccs)
            out.push_back(ecc[static_cast<std::size_t>(i)]);
    return out;
}

int alignment_centre(int version) {
    return version == 1 ? -1 : 4 * version + 10;
}

class Matrix {
public:
    explicit Matrix(int version)
        : version_(version), size_(17 + 4 * version),
          dark_(static_cast<std::size_t>(size_ * size_), 0) {}

    int size() const { return size_; }
    bool get(int x, int y) const { return dark_[index(x, y)] != 0; }
    void set(int x, int y, bool dark) { dark_[index(x, y)] = dark ? 1 : 0; }
    std::vector<std::uint8_t>& cells() { return dark_; }

    void draw_function_patterns() {
        for (auto [cx, cy] : {std::pair{3, 3}, {size_ - 4, 3}, {3, size_ - 4}})
            draw_finder(cx, cy);
        for (int i = 8; i < size_ - 8; ++i) {
            set(i, 6, i % 2 == 0);
            set(6, i, i % 2 == 0);
        }
        if (const int c = alignment_centre(version_); c > 0)
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    set(c + dx, c + dy, std::max(std::abs(dx), std::abs(dy)) != 1);
        set(8, size_ - 8, true); // the dark module
    }

    // Data bits in the two-column zigzag from the bottom right, skipping the
    // vertical timing column.
    void place(const std::vector<std::uint8_t>& codewords) {
        std::size_t bit = 0;
        const std::size_t total = codewords.size() * 8;
        bool upward = true;
        for (int right = size_ - 1; right > 0; right -= 2) {
            if (right == 6)
                right = 5;
            for (int step = 0; step < size_; ++step) {
                const int y = upward ? size_ - 1 - step : step;
                for (int x : {right, right - 1}) {
                    if (is_function_module(version_, x, y))
                        continue;
                    const bool dark = bit < total && ((codewords[bit / 8] >> (7 - bit % 8)) & 1u);
                    set(x, y, dark);
                    ++bit;
                }
            }
            upward = !upward;
        }
    }

    void apply_mask(int mask) {
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x)
                if (!is_function_module(version_, x, y) && mask_bit(mask, x, y))
                    set(x, y, !get(x, y));
    }

    // Bit 14 (the first) next to the top-left finder at the left of row 8,
    // and again down column 8 at the bottom left; bit 0 at the top of
    // column 8 and at the right end of row 8.
    void draw_format(std::uint16_t bits) {
        auto bit = [&](int i) { return ((bits >> i) & 1u) != 0; };
        for (int i = 0; i <= 5; ++i)
            set(8, i, bit(i));
        set(8, 7, bit(6));
        set(8, 8, bit(7));
        set(7, 8, bit(8));
        for (int i = 9; i < 15; ++i)
            set(14 - i, 8, bit(i));
        for (int i = 0; i < 8; ++i)
            set(size_ - 1 - i, 8, bit(i));
        for (int i = 8; i < 15; ++i)
            set(8, size_ - 15 + i, bit(i));
        set(8, size_ - 8, true);
    }

    int penalty() const;

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * size_ + x; }
    void draw_finder(int cx, int cy) {
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) {
                const int x = cx + dx, y = cy + dy;
                if (x < 0 || y < 0 || x >= size_ || y >= size_)
                    continue;
                const int ring = std::max(std::abs(dx), std::abs(dy));
                set(x, y, ring != 2 && ring != 4);
            }
    }

    int version_;
    int size_;
    std::vector<std::uint8_t> dark_;
};

// The four penalty rules: runs of five or more, 2x2 blocks, finder-like
// 1:1:3:1:1 patterns with four light modules on a side, and the distance of
// the dark share from half.
int Matrix::penalty() const {
    int total = 0;
    auto line_penalty = [&](auto cell) {
        for (int a = 0; a < size_; ++a) {
            int run = 1;
            for (int b = 1; b <= size_; ++b) {
                if (b < size_ && cell(a, b) == cell(a, b - 1)) {
                    ++run;
                    continue;
                }
                if (run >= 5)
                    total += 3 + (run - 5);
                run = 1;
            }
            for (int b = 0; b + 6 < size_; ++b) {
                auto dark = [&](int i) { return i >= 0 && i < size_ && cell(a, i); };
                const bool core = dark(b) && !dark(b + 1) && dark(b + 2) && dark(b + 3) &&
                                  dark(b + 4) && !dark(b + 5) && dark(b + 6);
                if (!core)
                    continue;
                const bool light_after =
                    !dark(b + 7) && !dark(b + 8) && !dark(b + 9) && !dark(b + 10);
                const bool light_before =
                    !dark(b - 1) && !dark(b - 2) && !dark(b - 3) && !dark(b - 4);
                if (light_after || light_before)
                    total += 40;
            }
        }
    };
    line_penalty([&](int y, int x) { return get(x, y); });
    line_penalty([&](int x, int y) { return get(x, y); });
    for (int y = 0; y + 1 < size_; ++y)
        for (int x = 0; x + 1 < size_; ++x) {
            const bool c = get(x, y);
            if (get(x + 1, y) == c && get(x, y + 1) == c && get(x + 1, y + 1) == c)
                total += 3;
        }
    int dark = 0;
    for (int y = 0; y < size_; ++y)
        for (int x = 0; x < size_; ++x)
            dark += get(x, y);
    const int percent = dark * 100 / (size_ * size_);
    total += 10 * (std::abs(percent - 50) / 5);
    return total;
}

} // namespace

BlockLayout block_layout(int version, Level level) {
    return kLayouts.at(static_cast<std::size_t>(version - 1)).at(static_cast<std::size_t>(level));
}

std::uint16_t format_bits(Level level, int mask) {
    const unsigned data = static_cast<unsigned>(level_bits(level) << 3 | mask);
    unsigned remainder = data << 10;
    for (int bit = 14; bit >= 10; --bit)
        if ((remainder >> bit) & 1u)
            remainder ^= 0x537u << (bit - 10);
    return static_cast<std::uint16_t>(((data << 10) | remainder) ^ 0x5412u);
}

std::vector<std::uint8_t> reed_solomon(const std::vector<std::uint8_t>& data, int count) {
    // Generator: the product of (x - 2^i) for i in 0..count-1, highest term
    // implied, coefficients from the next-highest down.
    std::vector<std::uint8_t> generator(static_cast<std::size_t>(count), 0);
    generator.back() = 1;
    std::uint8_t root = 1;
    for (int i = 0; i < count; ++i) {
        for (std::size_t j = 0; j < generator.size(); ++j) {
            generator[j] = gf_multiply(generator[j], root);
            if (j + 1 < generator.size())
                generator[j] ^= generator[j + 1];
        }
        root = gf_multiply(root, 2);
    }
    std::vector<std::uint8_t> remainder(static_cast<std::size_t>(count), 0);
    for (std::uint8_t byte : data) {
        const std::uint8_t factor = byte ^ remainder.front();
        remainder.erase(remainder.begin());
        remainder.push_back(0);
        for (std::size_t j = 0; j < remainder.size(); ++j)
            remainder[j] ^= gf_multiply(generator[j], factor);
    }
    return remainder;
}

bool is_function_module(int version, int x, int y) {
    const int size = 17 + 4 * version;
    // Finders with their separators and the format areas beside them.
    if ((x <= 8 && y <= 8) || (x >= size - 8 && y <= 8) || (x <= 8 && y >= size - 8))
        return true;
    if (x == 6 || y == 6)
        return true;
    if (const int c = alignment_centre(version); c > 0)
        if (std::abs(x - c) <= 2 && std::abs(y - c) <= 2)
            return true;
    return false;
}

bool mask_bit(int mask, int x, int y) {
    switch (mask) {
    case 0:
        return (x + y) % 2 == 0;
    case 1:
        return y % 2 == 0;
    case 2:
        return x % 3 == 0;
    case 3:
        return (x + y) % 3 == 0;
    case 4:
        return (x / 3 + y / 2) % 2 == 0;
    case 5:
        return x * y % 2 + x * y % 3 == 0;
    case 6:
        return (x * y % 2 + x * y % 3) % 2 == 0;
    default:
        return ((x + y) % 2 + x * y % 3) % 2 == 0;
    }
}

Code encode(std::string_view bytes, Level level) {
    int version = 1;
    // Mode (4 bits) and count (8 bits) come before the bytes.
    while (version <= kMaxVersion &&
           static_cast<std::size_t>(block_layout(version, level).data_codewords()) <
               bytes.size() + 2)
        ++version;
    if (version > kMaxVersion)
        throw TooLong("too long for a QR code of version 6: " + std::to_string(bytes.size()) +
                      " bytes");
    const BlockLayout layout = block_layout(version, level);
    const std::vector<std::uint8_t> codewords = interleave(data_codewords(bytes, layout), layout);

    Matrix base(version);
    base.draw_function_patterns();
    base.place(codewords);

    Code best;
    int best_penalty = -1;
    for (int mask = 0; mask < 8; ++mask) {
        Matrix candidate = base;
        candidate.apply_mask(mask);
        candidate.draw_format(format_bits(level, mask));
        const int penalty = candidate.penalty();
        if (best_penalty < 0 || penalty < best_penalty) {
            best_penalty = penalty;
            best = Code{version, level, mask, candidate.size(), candidate.cells()};
        }
    }
    return best;
}

Bitmap render(const Code& code, int pixels) {
    constexpr int kQuiet = 4;
    const int modules = code.size + 2 * kQuiet;
    const int scale = std::max(1, pixels / modules);
    const int offset = (pixels - modules * scale) / 2 + kQuiet * scale;
    Bitmap picture(pixels, pixels, 0xFFFFFF);
    for (int y = 0; y < code.size; ++y)
        for (int x = 0; x < code.size; ++x) {
            if (!code.at(x, y))
                continue;
            for (int py = 0; py < scale; ++py)
                for (int px = 0; px < scale; ++px) {
                    const int X = offset + x * scale + px, Y = offset + y * scale + py;
                    if (X >= 0 && Y >= 0 && X < pixels && Y < pixels)
                        picture.set(X, Y, 0x000000);
                }
        }
    return picture;
}

} // namespace qirelo::ui::qr
