#include "helper/send_mail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

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
            return true;
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

// The attachment comes from outside: opening must not hang on a FIFO or a device, only a
// regular file is read, and no further than it can grow while it is read (a pseudo file that
// reports no size and never ends stops the send).
class Attachment {
public:
    explicit Attachment(const std::string& path) {
        if (path.empty()) return;
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat status {};
        if (fd_ >= 0 && (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode))) close();
        if (fd_ >= 0)
            limit_ = static_cast<std::uint64_t>(status.st_size) + platform::kMaxGrowthWhileRead;
    }
    ~Attachment() { close(); }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    int fd() const { return fd_; }
    std::uint64_t limit() const { return limit_; }

private:
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
    std::uint64_t limit_ = 0;
};

}  // namespace

MailResult sendMail(const MailSettings& settings, const OutgoingMail& mail) {
    if (!isPlainAddress(mail.recipient)) return kMailBadArgument;
    if (!usable(settings)) return kMailBadSettings;
    if (exposesLogin(settings)) return kMailUnsafeSettings;
    Attachment attachment(mail.attachment);
    if (!mail.attachment.empty() && attachment.fd() < 0) return kMailAttachmentUnreadable;
    MimeMessage message(settings, mail, attachment.fd(), attachment.limit());
    return settings.delivery == Delivery::Smtp ? deliverBySmtp(settings, mail, message)
                                               : deliverBySendmail(settings, mail, message);
}

}  // namespace twkd
