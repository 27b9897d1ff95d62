#pragma once

#include <cstdint>
#include <string>

#include "platform/roots.h"

namespace twkd {

// How a message leaves the machine: handed to the system's mail transfer agent through the
// sendmail interface, or sent by the library itself to an SMTP server. Unknown stands for a
// Delivery value the library does not know, which sends nothing.
enum class Delivery { Sendmail, Smtp, Unknown };

// The system's mail transfer agent, as every Debian MTA provides it.
inline constexpr const char* kSendmailProgram = "/usr/sbin/sendmail";

// The mail route and account, from the [Mail] section of Brindle/twkd.ini in the system
// configuration directory. Missing keys keep these defaults.
struct MailSettings {
    Delivery delivery = Delivery::Sendmail;     // SMTP by default once a server is named
    std::string server;                         // smtp:// or smtps:// URL
    std::string sender = "tarnwick@localhost";  // envelope sender and From header
    std::string user;                           // login; none when empty
    std::string password;
    bool startTls = false;          // demand STARTTLS on an smtp:// connection
    std::string caFile;             // certificates to trust instead of the system's; empty: system
    long timeoutSeconds = 20;       // the longest the server or mail program may stay silent
    bool readableByOthers = false;  // users beyond those trusted with it may read the file
    std::string mailProgram = kSendmailProgram;  // not in the file: tests alone choose another
};

// The file holds a few lines: one that is larger, or no regular file, is not read.
inline constexpr std::uint64_t kMailSettingsFileLimit = std::uint64_t{1} << 20;

// Brindle/twkd.ini in the configuration folder of roots; Windows, where the roots name none,
// keeps it in the machine's program data folder (%ProgramData%).
std::string mailSettingsFile(const platform::Roots& roots);
// True when users beyond those trusted with a password may read the file: on Linux anyone
// outside its owner and group, on Windows anyone but Administrators, SYSTEM and its owner.
bool isReadableByOthers(const std::string& file);
MailSettings readMailSettings(const platform::Roots& roots);

}  // namespace twkd
