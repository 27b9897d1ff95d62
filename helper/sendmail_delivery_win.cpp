#include "helper/sendmail_delivery.h"

namespace twkd {

// Windows has no sendmail interface: SMTP is its one route, so settings that name no server
// (or choose the mail program) are refused as unusable before any message is made.
bool hasMailProgram() { return false; }

MailResult deliverBySendmail(const MailSettings&, const OutgoingMail&, MimeMessage&) {
    return kMailBadSettings;
}

}  // namespace twkd
