#pragma once

#include "helper/send_mail.h"

namespace twkd {

// An smtp:// or smtps:// URL that carries no login: libcurl would log in with a user name or
// password from the URL whatever the rules for User and Password say.
bool isUsableServerUrl(const std::string& url);

// Sends the message to the SMTP server of the settings, taking it from message as it goes.
MailResult deliverBySmtp(const MailSettings& settings, const OutgoingMail& mail,
                         MimeMessage& message);

}  // namespace twkd
