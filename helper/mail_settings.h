#pragma once

#include <string>

#include "platform/roots.h"

namespace twkd {

// The mail server and account, from the [Mail] section of Brindle/twkd.ini in the system
// configuration directory. Missing keys keep these defaults.
struct MailSettings {
    std::string server = "smtp://localhost:25";  // smtp:// or smtps:// URL
    std::string sender = "tarnwick@localhost";   // envelope sender and From header
    std::string user;                            // login; none when empty
    std::string password;
    bool startTls = false;     // demand STARTTLS on an smtp:// connection
    long timeoutSeconds = 20;  // for the whole attempt
};

std::string mailSettingsFile(const platform::Roots& roots);
MailSettings readMailSettings(const platform::Roots& roots);

}  // namespace twkd
