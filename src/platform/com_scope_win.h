#pragma once

#include <objbase.h>

namespace platform {

// COM for the length of one call, when the thread has none yet: the download and the shell's
// start of a program may hand their work to COM objects.
class ComScope {
public:
    ComScope()
        : initialised_(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComScope() {
        if (initialised_) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

}  // namespace platform
