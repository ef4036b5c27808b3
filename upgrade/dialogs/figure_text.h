#pragma once

// The wizard's figures put into their messages (6 to 9): "%d" and "%.2d"
// take whole numbers (at least that many digits), "%.1f" a number with that
// many decimals, "%%" is a percent sign. The messages come from the
// translations, so nothing in one can read past the figures given: a
// conversion beyond them, or of another kind, is left as it stands.

#include <initializer_list>
#include <string>
#include <string_view>

namespace qirelo::upgrade {

std::string FormatFigures(std::string_view pattern, std::initializer_list<double> figures);

} // namespace qirelo::upgrade
