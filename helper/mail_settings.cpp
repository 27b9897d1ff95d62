#include "helper/mail_settings.h"

#include <charconv>

#include "platform/profile_string.h"
#include "platform/strings.h"

namespace twkd {
namespace {

constexpr const char* kSection = "Mail";
constexpr size_t kMaxValueChars = 1024;
// The file holds a few lines; anything larger is not read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 20;
constexpr long kMaxTimeoutSeconds = 600;

bool isOn(const std::string& value) {
    for (const char* on : {"1", "yes", "on", "true"})
        if (platform::equalsNoCase(value, on)) return true;
    return false;
}

long timeoutOr(const std::string& value, long fallback) {
    long seconds = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    bool valid = error == std::errc() && end == value.data() + value.size() && seconds > 0 &&
                 seconds <= kMaxTimeoutSeconds;
    return valid ? seconds : fallback;
}

}  // namespace

std::string mailSettingsFile(const platform::Roots& roots) {
    return platform::joinPath(platform::joinPath(roots.configDir, "Brindle"), "twkd.ini");
}

MailSettings readMailSettings(const platform::Roots& roots) {
    constexpr platform::ProfileKey kKeys[] = {{kSection, "Server"},   {kSection, "Sender"},
                                              {kSection, "User"},     {kSection, "Password"},
                                              {kSection, "StartTLS"}, {kSection, "Timeout"}};
    const std::vector<std::string> values =
        platform::readProfileStrings(mailSettingsFile(roots), kKeys, kMaxFileBytes, kMaxValueChars);
    MailSettings settings;
    if (!values[0].empty()) settings.server = values[0];
    if (!values[1].empty()) settings.sender = values[1];
    settings.user = values[2];
    settings.password = values[3];
    settings.startTls = isOn(values[4]);
    settings.timeoutSeconds = timeoutOr(values[5], settings.timeoutSeconds);
    return settings;
}

}  // namespace twkd
