#pragma once

#include <cstdint>

#include "helper/mail_settings.h"
#include "helper/mime_message.h"

namespace twkd {

// SendMailOut's answers: 0 alone means the message was accepted.
enum MailResult : std::int16_t {
    kMailSent = 0,
    kMailBadArgument = 1,  // missing text or an address that cannot be used
    kMailAttachmentUnreadable = 2,
    kMailBadSettings = 3,     // route, server URL (a login in it too) or sender unusable
    kMailNotDelivered = 4,    // connection, login, refusal, time-out, or the mail program failed
    kMailUnsafeSettings = 5,  // the login would be exposed: see twkd.ini in the README
};

// Sends the message by the route the settings choose and returns when the attempt has
// finished. Nothing leaves the machine when the settings would expose the login.
MailResult sendMail(const MailSettings& settings, const OutgoingMail& mail);

// Why the calling thread's last sendMail did not send, in words an administrator can act on
// (libcurl's or the mail program's own among them); empty after a success. It never holds the
// password, the subject or the body.
const std::string& lastMailReason();
// Notes why an attempt failed and answers result, for the routes' failures.
MailResult failedBecause(MailResult result, std::string reason);

}  // namespace twkd
