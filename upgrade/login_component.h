#pragma once

#include <string>

namespace qirelo::upgrade {

// The credentials a component gives a server that asks for them.
class TupLoginComponent {
public:
    virtual ~TupLoginComponent() = default;

    std::string HTTPUsername;
    std::string HTTPPassword;
};

} // namespace qirelo::upgrade
