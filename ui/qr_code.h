#pragma once

// A QR code encoder (byte mode, versions 1 to 6, all four error-correction
// levels), for the picture of the mobile site's address on the program tab.
// Versions 1 to 6 hold up to 134 bytes at level L and 106 at level M, more
// than an address needs, and need no version-information blocks.

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "ui/image.h"

namespace qirelo::ui::qr {

enum class Level { L, M, Q, H };

class TooLong : public std::length_error {
public:
    using std::length_error::length_error;
};

struct Code {
    int version = 1;
    Level level = Level::M;
    int mask = 0;
    int size = 21;                  // modules per side: 17 + 4 * version
    std::vector<std::uint8_t> dark; // row by row, 1 = dark

    bool at(int x, int y) const { return dark[static_cast<std::size_t>(y) * size + x] != 0; }
};

// The smallest version that holds `bytes` at `level`, the mask with the
// lowest penalty. Raises TooLong beyond version 6.
Code encode(std::string_view bytes, Level level = Level::M);

// The code as a picture `pixels` wide and high: whole pixels per module, a
// quiet zone of four modules, centred on white.
Bitmap render(const Code& code, int pixels);

// Building blocks, exposed for their tests.
// The 15 format bits for a level and a mask, BCH-protected and masked.
std::uint16_t format_bits(Level level, int mask);
// The error-correction codewords of `data` (generator of degree `count`).
std::vector<std::uint8_t> reed_solomon(const std::vector<std::uint8_t>& data, int count);
// Whether the module at (x, y) of a code of `version` belongs to a function
// pattern (finders, separators, timing, alignment, format, dark module).
bool is_function_module(int version, int x, int y);
// The data mask condition of mask `mask` at (x, y).
bool mask_bit(int mask, int x, int y);
// Data codewords per block and block counts for a version and level.
struct BlockLayout {
    int ecc_per_block;
    int short_blocks;
    int short_data; // data codewords of a short block; long blocks hold one more
    int long_blocks;
    int data_codewords() const {
        return short_blocks * short_data + long_blocks * (short_data + 1);
    }
};
BlockLayout block_layout(int version, Level level);

} // namespace qirelo::ui::qr
