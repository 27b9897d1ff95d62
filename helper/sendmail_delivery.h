#pragma once

#include "helper/send_mail.h"

namespace twkd {

// Whether the system offers the sendmail interface at all; without it a route through the mail
// program is unusable settings.
bool hasMailProgram();

// Hands the message to the sendmail program for the one recipient and waits for its answer.
MailResult deliverBySendmail(const MailSettings& settings, const OutgoingMail& mail,
                             MimeMessage& message);

}  // namespace twkd
