#pragma once

namespace qirelo::upgrade {

// Unwinds a worker's routine after a forced stop. Deliberately not a
// std::exception: a routine's own `catch (const std::exception&)` around a
// failing step must not swallow the stop; only the thread procedure catches it.
class EThreadStopped {};

} // namespace qirelo::upgrade
