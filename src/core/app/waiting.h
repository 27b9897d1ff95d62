#pragma once

#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "core/mail/helper_library.h"

namespace twk {

// How a page layer runs a blocking call (a mail sent, a large file written, a download): on a
// worker thread while its windows keep painting, the pointer busy and user input queued.
using WaitRunner = void (*)(const std::function<void()>& work);

template <typename Work>
auto waitWith(WaitRunner run, Work&& work) {
    std::optional<std::invoke_result_t<Work&>> result;
    run([&] { result.emplace(work()); });
    return std::move(*result);
}

// The helper library with every mail waited for by run.
class WaitedHelperLibrary : public HelperLibrary {
public:
    WaitedHelperLibrary(HelperLibrary& library, WaitRunner run) : library_(library), run_(run) {}

    std::int16_t SendMailOut(const std::string& recipient, const std::string& subject,
                             const std::string& body, const std::string& attachment) override {
        return waitWith(run_,
                        [&] { return library_.SendMailOut(recipient, subject, body, attachment); });
    }
    std::int16_t GetDriveInfoByPath(std::string& root, std::string& buffer) override {
        return library_.GetDriveInfoByPath(root, buffer);
    }

private:
    HelperLibrary& library_;
    WaitRunner run_;
};

}  // namespace twk
