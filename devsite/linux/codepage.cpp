#include "devsite/codepage.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace qirelo::devsite {
namespace {

struct IconvCloser {
    void operator()(iconv_t handle) const noexcept { iconv_close(handle); }
};
using Iconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// Code page 936 is what glibc names CP936 (GBK, a superset of GB2312).
std::string convert(std::string_view text, const char* to, const char* from) {
    Iconv converter(iconv_open(to, from));
    if (converter.get() == reinterpret_cast<iconv_t>(-1))
        throw CodePageError(std::string("no converter from ") + from + " to " + to);
    std::string input(text);
    std::string output(text.size() * 2 + 4, '\0');
    char* in = input.data();
    std::size_t in_left = input.size();
    char* out = output.data();
    std::size_t out_left = output.size();
    if (iconv(converter.get(), &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1))
        throw CodePageError(std::string("text is not valid ") + from);
    output.resize(output.size() - out_left);
    return output;
}

} // namespace

std::string gb2312_to_utf8(std::string_view gb2312) {
    return convert(gb2312, "UTF-8", "CP936");
}
std::string utf8_to_gb2312(std::string_view utf8) {
    return convert(utf8, "CP936", "UTF-8");
}

} // namespace qirelo::devsite
