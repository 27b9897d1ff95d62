#include "helper/mail_settings.h"

#include <charconv>

#include "platform/profile_string.h"
#include "platform/strings.h"

namespace twkd {
namespace {

constexpr const char* kSection = "Mail";
constexpr size_t kMaxValueChars = 1024;
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
    const std::string file = mailSettingsFile(roots);
    auto value = [&](const char* key) {
        return platform::readProfileString(kSection, key, file, kMaxValueChars);
    };
    MailSettings settings;
    if (std::string server = value("Server"); !server.empty()) settings.server = server;
    if (std::string sender = value("Sender"); !sender.empty()) settings.sender = sender;
    settings.user = value("User");
    settings.password = value("Password");
    settings.startTls = isOn(value("StartTLS"));
    settings.timeoutSeconds = timeoutOr(value("Timeout"), settings.timeoutSeconds);
    return settings;
}

}  // namespace twkd
