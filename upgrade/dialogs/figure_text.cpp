#include "upgrade/dialogs/figure_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace qirelo::upgrade {
namespace {

struct Conversion {
    std::size_t length = 0; // from the '%' to the letter, 0 when not one of ours
    int precision = -1;
    char kind = 0;
};

Conversion ReadConversion(std::string_view pattern, std::size_t at) {
    Conversion conversion;
    std::size_t i = at + 1;
    if (i < pattern.size() && pattern[i] == '.') {
        int precision = 0;
        std::size_t digits = 0;
        for (++i; i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i]));
             ++i, ++digits)
            precision = precision * 10 + (pattern[i] - '0');
        if (digits == 0 || digits > 2)
            return conversion;
        conversion.precision = precision;
    }
    if (i < pattern.size() && (pattern[i] == 'd' || pattern[i] == 'f')) {
        conversion.kind = pattern[i];
        conversion.length = i + 1 - at;
    }
    return conversion;
}

std::string Figure(const Conversion& conversion, double value) {
    char text[64];
    if (conversion.kind == 'd')
        std::snprintf(text, sizeof text, "%.*lld",
                      conversion.precision < 0 ? 1 : conversion.precision,
                      static_cast<long long>(std::llround(value)));
    else
        std::snprintf(text, sizeof text, "%.*f",
                      conversion.precision < 0 ? 6 : conversion.precision, value);
    return text;
}

} // namespace

std::string FormatFigures(std::string_view pattern, std::initializer_list<double> figures) {
    std::string result;
    auto next = figures.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            result += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            result += '%';
            ++i;
            continue;
        }
        const Conversion conversion = ReadConversion(pattern, i);
        if (conversion.length == 0 || next == figures.end()) {
            result += '%';
            continue;
        }
        result += Figure(conversion, *next++);
        i += conversion.length - 1;
    }
    return result;
}

} // namespace qirelo::upgrade
