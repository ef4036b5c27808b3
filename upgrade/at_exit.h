#pragma once

namespace qirelo::upgrade {

// Runs its function at the end of its scope, however the scope is left.
template <typename F> struct AtExit {
    F f;
    ~AtExit() { f(); }
};
template <typename F> AtExit(F) -> AtExit<F>;

} // namespace qirelo::upgrade
