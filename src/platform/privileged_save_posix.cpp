#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/privileged_save.h"
#include "platform/process.h"
#include "platform/reasons.h"
#include "platform/roots.h"

namespace platform {
namespace {

constexpr const char* kPkexec = "/usr/bin/pkexec";
// pkexec's own answers, instead of the helper's.
constexpr int kDismissed = 126;
constexpr int kNotAuthorised = 127;

void noteEnd(const std::optional<int>& status, const std::string& helperPath) {
    if (!status)
        logReason(ReasonTopic::Settings, std::string(kPkexec) + " could not start " + helperPath +
                                             ", or it was ended by a signal; nothing was saved");
    else if (*status == kDismissed)
        logReason(ReasonTopic::Settings,
                  "the administrator's authentication was dismissed; nothing was saved");
    else if (*status == kNotAuthorised)
        logReason(ReasonTopic::Settings,
                  "not authorised to change the settings (authentication refused or failed, or "
                  "no polkit authentication agent runs); nothing was saved");
    else
        noteSettingsHelperStatus(*status);
}

}  // namespace

bool writesSystemStore() { return ::geteuid() == 0; }

std::string settingsHelperPath(const std::string& programFolder) {
    return joinPath(programFolder, "tarnwick-settings");
}

std::optional<int> runSettingsHelper(const std::string& helperPath, const std::string& request) {
    const std::optional<int> status = runProgram({kPkexec, helperPath}, request);
    noteEnd(status, helperPath);
    return status;
}

std::optional<std::string> settingsHelperRequest(const std::vector<std::string>& args,
                                                 std::size_t maxBytes) {
    if (!args.empty()) return std::nullopt;
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return text;
        text.append(chunk, static_cast<std::size_t>(n));
        if (text.size() > maxBytes) return std::nullopt;
    }
}

void useSharedFileModes() { ::umask(022); }

}  // namespace platform
