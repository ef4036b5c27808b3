#include "upgrade/dialogs/picture_file.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace qirelo::upgrade {
namespace {

constexpr int kLargestSide = 4096; // more is no side picture

std::uint32_t Read32(const std::vector<unsigned char>& data, std::size_t at) {
    return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 |
           static_cast<std::uint32_t>(data[at + 3]) << 24;
}

std::uint16_t Read16(const std::vector<unsigned char>& data, std::size_t at) {
    return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
}

} // namespace

std::optional<ui::Bitmap> ReadPictureFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    if (data.size() < 54 || data[0] != 'B' || data[1] != 'M')
        return std::nullopt;
    const std::uint32_t pixels_at = Read32(data, 10);
    const auto width = static_cast<std::int32_t>(Read32(data, 18));
    const auto signed_height = static_cast<std::int32_t>(Read32(data, 22));
    const int bits = Read16(data, 28);
    const std::uint32_t compression = Read32(data, 30);
    const int height = std::abs(signed_height);
    if (width <= 0 || width > kLargestSide || height == 0 || height > kLargestSide ||
        (bits != 24 && bits != 32) || (compression != 0 && !(compression == 3 && bits == 32)))
        return std::nullopt;
    const std::size_t bytes_per_pixel = static_cast<std::size_t>(bits / 8);
    const std::size_t row_bytes = (static_cast<std::size_t>(width) * bytes_per_pixel + 3) / 4 * 4;
    if (pixels_at > data.size() ||
        (data.size() - pixels_at) / row_bytes < static_cast<std::size_t>(height))
        return std::nullopt;
    ui::Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const int row = signed_height > 0 ? height - 1 - y : y; // bottom-up unless negative
        const std::size_t start = pixels_at + static_cast<std::size_t>(row) * row_bytes;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = start + static_cast<std::size_t>(x) * bytes_per_pixel;
            bitmap.set(x, y,
                       static_cast<std::uint32_t>(data[at + 2]) << 16 |
                           static_cast<std::uint32_t>(data[at + 1]) << 8 | data[at]);
        }
    }
    return bitmap;
}

} // namespace qirelo::upgrade
