#pragma once

#include <cstdint>
#include <string>

#include "helper/mail_settings.h"

namespace twkd {

// SendMailOut's answers: 0 alone means the server accepted the message.
enum MailResult : std::int16_t {
    kMailSent = 0,
    kMailBadArgument = 1,  // missing text or an address that cannot be used
    kMailAttachmentUnreadable = 2,
    kMailBadSettings = 3,   // server URL or sender address in twkd.ini unusable
    kMailNotDelivered = 4,  // connection, login, refusal or time-out
};

struct OutgoingMail {
    std::string recipient;
    std::string subject;
    std::string body;
    std::string attachment;  // path of the file to attach; empty for none
};

// Sends the message and returns when the attempt has finished.
MailResult sendMail(const MailSettings& settings, const OutgoingMail& mail);

}  // namespace twkd
