// tarnwick-settings: the privileged settings helper. The program starts it with raised rights for
// an administrator whose own process may not write the system store (Linux: pkexec, under the
// polkit action org.brindle.tarnwick.change-settings; Windows: the elevation prompt). It reads one
// save request, in the form parseSaveRequest accepts and nothing else, as its caller hands it over
// (platform/privileged_save.h), and writes it into the system store with the autostart entry, as
// a save by a process with those rights would.
// Exit status: 0 written; 1 the request was refused (nothing written); 2 the store could not be
// written (nothing written).
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/main_op.h"
#include "core/settings/settings_save.h"
#include "platform/privileged_save.h"
#include "platform/program_folder.h"
#include "platform/reasons.h"
#include "platform/roots.h"

namespace {

// Room for twelve lines of the longest value with their verb and name.
const std::size_t kMaxRequestBytes = twk::kSettingCount * (twk::kMaxSavedValue + 64);

}  // namespace

int main(int argc, char** argv) {
    platform::useSharedFileModes();
    // Why the store could not be written, for the administrator who reads the journal.
    platform::SystemLogSink journal;
    platform::setReasonSink(&journal);
    const std::optional<std::string> text = platform::settingsHelperRequest(
        std::vector<std::string>(argv + 1, argv + argc), kMaxRequestBytes);
    const std::optional<twk::SaveRequest> request =
        text ? twk::parseSaveRequest(*text) : std::nullopt;
    if (!request) {
        std::fputs("tarnwick-settings: the save request was refused\n", stderr);
        return platform::kHelperRefused;
    }
    const twk::SaveTarget target =
        twk::systemSaveTarget(platform::Roots::system(), platform::programFolder());
    if (!twk::applySave(target, *request)) {
        std::fputs("tarnwick-settings: the settings could not be written\n", stderr);
        return platform::kHelperNotWritten;
    }
    return platform::kHelperWritten;
}
