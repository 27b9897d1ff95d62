#pragma once

#include "helper/send_mail.h"

namespace twkd {

// Hands the message to the sendmail program for the one recipient and waits for its answer.
MailResult deliverBySendmail(const MailSettings& settings, const OutgoingMail& mail,
                             MimeMessage& message);

}  // namespace twkd
