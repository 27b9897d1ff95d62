#pragma once

#include "helper/send_mail.h"

namespace twkd {

// The system's mail transfer agent, as every Debian MTA provides it.
inline constexpr const char* kSendmailProgram = "/usr/sbin/sendmail";

// Hands the message to the sendmail program for the one recipient and waits for its answer.
MailResult deliverBySendmail(const MailSettings& settings, const OutgoingMail& mail,
                             MimeMessage& message);

}  // namespace twkd
