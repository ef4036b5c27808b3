#pragma once

// One connection to the X server for synthesised input, shared by the
// keyboard and the pointer. The relay worker and the main thread both send
// input, so every use holds the connection's lock.

#include <mutex>
#include <stdexcept>

// Xlib's Display, declared here so that this header keeps Xlib's macros out
// of the files that include it (Qt's among them).
struct _XDisplay;

namespace qirelo::platform::native {

class XDisplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class XDisplay {
public:
    // Opens $DISPLAY; raises XDisplayError when there is no X server or it
    // lacks the XTEST extension.
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // The connection, for as long as the returned lock is held.
    class Use {
    public:
        explicit Use(XDisplay& owner) : lock_(owner.mutex_), display_(owner.display_) {}
        ::_XDisplay* operator*() const { return display_; }

    private:
        std::lock_guard<std::mutex> lock_;
        ::_XDisplay* display_;
    };
    Use use() { return Use(*this); }

private:
    std::mutex mutex_;
    ::_XDisplay* display_ = nullptr;
};

} // namespace qirelo::platform::native
