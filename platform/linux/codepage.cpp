// GB2312 (code page 936, GBK) through iconv.

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <optional>
#include <stdexcept>

#include "platform/profile/codepage.h"

namespace qirelo::platform {
namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)), to_(to) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; a sequence the target cannot take (or the source does not
    // hold) becomes `replacement` and one input unit is skipped, or without a
    // replacement raises CodePageError.
    std::string run(const char* in, std::size_t size, std::size_t unit,
                    const std::optional<std::string>& replacement) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        char buffer[512];
        char* source = const_cast<char*>(in);
        std::size_t left = size;
        while (left > 0) {
            char* target = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t result = iconv(handle_, &source, &left, &target, &room);
            out.append(buffer, static_cast<std::size_t>(target - buffer));
            if (result != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ, or EINVAL for a cut-off sequence at the end
            if (!replacement)
                throw CodePageError("text does not convert to " + to_);
            out += *replacement;
            const std::size_t skip = std::min(unit, left);
            source += skip;
            left -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t handle_;
    std::string to_;
};

// The bytes of native-endian UTF-16 as text.
std::u16string utf16_of_bytes(const std::string& bytes) {
    std::u16string out(bytes.size() / sizeof(char16_t), u'\0');
    std::copy(bytes.begin(), bytes.begin() + out.size() * sizeof(char16_t),
              reinterpret_cast<char*>(out.data()));
    return out;
}

} // namespace

std::u16string utf16_from_gb(std::string_view gb) {
    thread_local Converter converter(kUtf16, "CP936");
    const std::string question(reinterpret_cast<const char*>(u"?"), sizeof(char16_t));
    return utf16_of_bytes(converter.run(gb.data(), gb.size(), 1, question));
}

std::string gb_from_utf16(std::u16string_view utf16) {
    thread_local Converter converter("CP936", kUtf16);
    return converter.run(reinterpret_cast<const char*>(utf16.data()),
                         utf16.size() * sizeof(char16_t), sizeof(char16_t), "?");
}

std::u16string strict_utf16_from_gb(std::string_view gb) {
    thread_local Converter converter(kUtf16, "CP936");
    return utf16_of_bytes(converter.run(gb.data(), gb.size(), 1, std::nullopt));
}

std::string strict_gb_from_utf16(std::u16string_view utf16) {
    thread_local Converter converter("CP936", kUtf16);
    return converter.run(reinterpret_cast<const char*>(utf16.data()),
                         utf16.size() * sizeof(char16_t), sizeof(char16_t), std::nullopt);
}

} // namespace qirelo::platform
