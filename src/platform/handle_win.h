#pragma once

#include <windows.h>

namespace platform {

// A kernel handle, closed on every path. Both of the system's answers for no handle (null and
// INVALID_HANDLE_VALUE) are held as none.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    // For calls that hand back a new handle; the handle held before is closed.
    HANDLE* out() {
        reset();
        return &handle_;
    }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() {
        if (handle_) ::CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

}  // namespace platform
