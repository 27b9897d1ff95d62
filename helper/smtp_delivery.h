#pragma once

#include "helper/send_mail.h"

namespace twkd {

// Sends the message to the SMTP server of the settings, taking it from message as it goes.
MailResult deliverBySmtp(const MailSettings& settings, const OutgoingMail& mail,
                         MimeMessage& message);

}  // namespace twkd
