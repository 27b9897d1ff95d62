#include "helper/send_mail.h"

#include <optional>

#include "helper/mail_text.h"
#include "helper/sendmail_delivery.h"
#include "helper/smtp_delivery.h"
#include "platform/files.h"

namespace twkd {
namespace {

thread_local std::string mailReason;

bool isEncrypted(const MailSettings& settings) {
    return settings.startTls || settings.server.rfind("smtps://", 0) == 0;
}

// Why the settings cannot send anything; empty when they can. The server address is never
// quoted: a login in it would be.
std::string unusableBecause(const MailSettings& settings) {
    if (!isPlainAddress(settings.sender))
        return "the Sender in twkd.ini is no plain e-mail address";
    switch (settings.delivery) {
        case Delivery::Sendmail:
            return hasMailProgram() ? std::string()
                                    : "twkd.ini names no Server, and this system has no mail "
                                      "program to hand the message to";
        case Delivery::Smtp:
            return isUsableServerUrl(settings.server)
                       ? std::string()
                       : "the Server in twkd.ini is no smtp:// or smtps:// address without a "
                         "login in it";
        case Delivery::Unknown:
            break;
    }
    return "the Delivery in twkd.ini is neither sendmail nor smtp";
}

// A login goes nowhere in clear text, and is not used from a file every user can read. A user
// name alone counts: libcurl logs in with it and an empty password.
bool exposesLogin(const MailSettings& settings) {
    if (settings.user.empty() && settings.password.empty()) return false;
    return settings.readableByOthers ||
           (settings.delivery == Delivery::Smtp && !isEncrypted(settings));
}

// Takes out any trace of the password, whatever a server or libcurl echoed.
void withoutPassword(std::string& text, const std::string& password) {
    if (password.empty()) return;
    for (std::size_t at = text.find(password); at != std::string::npos;
         at = text.find(password, at))
        text.replace(at, password.size(), "(password)");
}

MailResult attemptMail(const MailSettings& settings, const OutgoingMail& mail) {
    if (!isPlainAddress(mail.recipient))
        return failedBecause(kMailBadArgument, "the recipient address cannot be used");
    if (std::string why = unusableBecause(settings); !why.empty())
        return failedBecause(kMailBadSettings, std::move(why));
    if (exposesLogin(settings))
        return failedBecause(kMailUnsafeSettings,
                             settings.readableByOthers
                                 ? "twkd.ini holds a login and users other than its owner and "
                                   "group may read it"
                                 : "the login would go out in clear text: name an smtps:// "
                                   "Server or turn StartTLS on");
    // The attachment comes from outside: only a regular file is read, opened so that a FIFO or
    // a device cannot hang the send, and no further than it can grow while it is read.
    std::optional<platform::RegularFile> attachment;
    if (!mail.attachment.empty()) {
        attachment.emplace(mail.attachment);
        if (!attachment->isOpen())
            return failedBecause(
                kMailAttachmentUnreadable,
                "the attachment " + mail.attachment + " " + attachment->failure().problem());
    }
    MimeMessage message(settings, mail, attachment ? &*attachment : nullptr);
    return settings.delivery == Delivery::Smtp ? deliverBySmtp(settings, mail, message)
                                               : deliverBySendmail(settings, mail, message);
}

}  // namespace

MailResult sendMail(const MailSettings& settings, const OutgoingMail& mail) {
    mailReason.clear();
    const MailResult result = attemptMail(settings, mail);
    if (result == kMailSent) mailReason.clear();
    withoutPassword(mailReason, settings.password);
    return result;
}

const std::string& lastMailReason() { return mailReason; }

MailResult failedBecause(MailResult result, std::string reason) {
    mailReason = std::move(reason);
    return result;
}

}  // namespace twkd
