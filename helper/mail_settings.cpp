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

// Without a choice, a named server means SMTP and no server means the system's mail program.
Delivery deliveryOf(const std::string& value, const std::string& server) {
    if (value.empty()) return server.empty() ? Delivery::Sendmail : Delivery::Smtp;
    if (platform::equalsNoCase(value, "sendmail")) return Delivery::Sendmail;
    if (platform::equalsNoCase(value, "smtp")) return Delivery::Smtp;
    return Delivery::Unknown;
}

}  // namespace

MailSettings readMailSettings(const platform::Roots& roots) {
    const std::string file = mailSettingsFile(roots);
    constexpr platform::ProfileKey kKeys[] = {{kSection, "Server"},   {kSection, "Delivery"},
                                              {kSection, "Sender"},   {kSection, "User"},
                                              {kSection, "Password"}, {kSection, "StartTLS"},
                                              {kSection, "CAFile"},   {kSection, "Timeout"}};
    const std::vector<std::string> values =
        platform::readProfileStrings(file, kKeys, kMailSettingsFileLimit, kMaxValueChars);
    MailSettings settings;
    settings.server = values[0];
    settings.delivery = deliveryOf(values[1], settings.server);
    if (!values[2].empty()) settings.sender = values[2];
    settings.user = values[3];
    settings.password = values[4];
    settings.startTls = isOn(values[5]);
    settings.caFile = values[6];
    settings.timeoutSeconds = timeoutOr(values[7], settings.timeoutSeconds);
    settings.readableByOthers = isReadableByOthers(file);
    return settings;
}

}  // namespace twkd
