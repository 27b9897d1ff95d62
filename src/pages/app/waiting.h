#pragma once

#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "core/mail/helper_library.h"

namespace twk {

// Runs a blocking call (a mail sent, a large file written, a download) on a worker thread while
// the GUI thread waits in a local event loop that leaves out user input: windows keep painting
// and answering the window manager, the pointer shows busy, and clicks and keys stay queued
// until the call has returned, so they reach the pages in the order the user gave them.
void runWhileWaiting(const std::function<void()>& work);

template <typename Work>
auto waitFor(Work&& work) {
    std::optional<std::invoke_result_t<Work&>> result;
    runWhileWaiting([&] { result.emplace(work()); });
    return std::move(*result);
}

// The helper library with every mail waited for as above.
class WaitingHelperLibrary : public HelperLibrary {
public:
    explicit WaitingHelperLibrary(HelperLibrary& library) : library_(library) {}

    std::int16_t SendMailOut(const std::string& recipient, const std::string& subject,
                             const std::string& body, const std::string& attachment) override {
        return waitFor([&] { return library_.SendMailOut(recipient, subject, body, attachment); });
    }
    std::int16_t GetDriveInfoByPath(std::string& root, std::string& buffer) override {
        return library_.GetDriveInfoByPath(root, buffer);
    }

private:
    HelperLibrary& library_;
};

}  // namespace twk
