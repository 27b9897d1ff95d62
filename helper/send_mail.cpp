#include "helper/send_mail.h"

#include <optional>

#include "helper/mail_text.h"
#include "helper/sendmail_delivery.h"
#include "helper/smtp_delivery.h"
#include "platform/files.h"

namespace twkd {
namespace {

bool isEncrypted(const MailSettings& settings) {
    return settings.startTls || settings.server.rfind("smtps://", 0) == 0;
}

bool usable(const MailSettings& settings) {
    if (!isPlainAddress(settings.sender)) return false;
    switch (settings.delivery) {
        case Delivery::Sendmail:
            return hasMailProgram();
        case Delivery::Smtp:
            return isUsableServerUrl(settings.server);
        case Delivery::Unknown:
            break;
    }
    return false;
}

// A login goes nowhere in clear text, and is not used from a file every user can read. A user
// name alone counts: libcurl logs in with it and an empty password.
bool exposesLogin(const MailSettings& settings) {
    if (settings.user.empty() && settings.password.empty()) return false;
    return settings.readableByOthers ||
           (settings.delivery == Delivery::Smtp && !isEncrypted(settings));
}

}  // namespace

MailResult sendMail(const MailSettings& settings, const OutgoingMail& mail) {
    if (!isPlainAddress(mail.recipient)) return kMailBadArgument;
    if (!usable(settings)) return kMailBadSettings;
    if (exposesLogin(settings)) return kMailUnsafeSettings;
    // The attachment comes from outside: only a regular file is read, opened so that a FIFO or
    // a device cannot hang the send, and no further than it can grow while it is read.
    std::optional<platform::RegularFile> attachment;
    if (!mail.attachment.empty()) {
        attachment.emplace(mail.attachment);
        if (!attachment->isOpen()) return kMailAttachmentUnreadable;
    }
    MimeMessage message(settings, mail, attachment ? &*attachment : nullptr);
    return settings.delivery == Delivery::Smtp ? deliverBySmtp(settings, mail, message)
                                               : deliverBySendmail(settings, mail, message);
}

}  // namespace twkd
