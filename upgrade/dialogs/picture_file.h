#pragma once

// The wizard's own side picture from a file: a Windows bitmap (.bmp) of 24
// or 32 bits a pixel, uncompressed. A file that is missing, of another kind
// or damaged gives no picture, and the built-in one stays.

#include <optional>
#include <string>

#include "ui/image.h"

namespace qirelo::upgrade {

std::optional<ui::Bitmap> ReadPictureFile(const std::string& path);

} // namespace qirelo::upgrade
