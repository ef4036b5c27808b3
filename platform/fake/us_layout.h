#pragma once

// A fixed US keyboard layout, answering as the US layout of the system does:
// the fakes and the dry-run tool type through it, so their output does not
// depend on the machine's own layout.

#include <cstdint>

namespace qirelo::platform::fake {

// VkKeyScanA on the US layout: virtual key in the low byte, shift state in the
// high byte (1 Shift, 2 Ctrl, 4 Alt), 0xFFFF for a byte with no key (every
// byte from 0x80 up, among others).
std::uint16_t us_char_scan(unsigned char c);

// MapVirtualKeyA(vk, 0) on the US layout: the set-1 scan code, 0 if none.
std::uint32_t us_scan_code(std::uint32_t vk);

} // namespace qirelo::platform::fake
