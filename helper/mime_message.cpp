#include "helper/mime_message.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

#include "helper/mail_text.h"
#include "platform/files.h"
#include "platform/text.h"

namespace twkd {
namespace {

constexpr std::size_t kBase64LineBytes = 57;  // 76 characters of base64
// Attachment bytes read and encoded at a time: with their base64 form, about 2 MB of memory.
constexpr std::size_t kChunkBytes = kBase64LineBytes * 16384;

// "=_" never occurs in base64 or quoted-printable text, so no part can hold the boundary.
std::string freshBoundary() {
    std::random_device random;
    char text[48];
    std::snprintf(text, sizeof text, "=_twk_%08x%08x%08x", static_cast<unsigned>(random()),
                  static_cast<unsigned>(random()), static_cast<unsigned>(random()));
    return text;
}

// The library takes its texts in the system code page; the message carries them as UTF-8.
std::string head(const MailSettings& settings, const OutgoingMail& mail,
                 const std::string& boundary) {
    return "From: " + settings.sender + "\r\nTo: " + mail.recipient +
           "\r\nSubject: " + encodeHeaderText(platform::utf8FromSystemCodePage(mail.subject)) +
           "\r\nDate: " + mailDate(std::time(nullptr)) +
           "\r\nMessage-ID: " + messageId(settings.sender) +
           "\r\nMIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"" + boundary +
           "\"\r\n\r\n--" + boundary +
           "\r\nContent-Type: text/plain; charset=UTF-8"
           "\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n" +
           quotedPrintable(toCrlf(platform::utf8FromSystemCodePage(mail.body)));
}

std::string attachmentHead(const OutgoingMail& mail, const std::string& boundary) {
    // The line break before a boundary belongs to the boundary.
    return "\r\n--" + boundary +
           "\r\nContent-Type: application/octet-stream"
           "\r\nContent-Disposition: attachment; filename=\"" +
           attachmentName(platform::utf8FromSystemCodePage(mail.attachment)) +
           "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n";
}

// Reads until size bytes or the end of the file; false on a read error.
bool readFull(platform::RegularFile& file, std::string& into, std::size_t size) {
    into.resize(size);
    std::size_t filled = 0;
    while (filled < size) {
        int error = 0;
        const long long got = file.read(into.data() + filled, size - filled, error);
        if (got == 0) break;
        if (got < 0) return false;
        filled += static_cast<std::size_t>(got);
    }
    into.resize(filled);
    return true;
}

}  // namespace

MimeMessage::MimeMessage(const MailSettings& settings, const OutgoingMail& mail,
                         platform::RegularFile* attachment)
    : attachment_(attachment),
      attachmentLeft_(attachment ? attachment->readLimit() : 0),
      boundary_(freshBoundary()),
      stage_(attachment ? Stage::Attachment : Stage::Closing) {
    pending_ = head(settings, mail, boundary_);
    if (stage_ == Stage::Attachment) pending_ += attachmentHead(mail, boundary_);
}

std::optional<std::size_t> MimeMessage::read(char* buffer, std::size_t size) {
    std::size_t copied = 0;
    while (copied < size) {
        if (taken_ == pending_.size()) {
            pending_.clear();
            taken_ = 0;
            if (stage_ == Stage::Done) break;
            if (!refill()) return std::nullopt;
            continue;
        }
        const std::size_t count = std::min(size - copied, pending_.size() - taken_);
        std::memcpy(buffer + copied, pending_.data() + taken_, count);
        taken_ += count;
        copied += count;
    }
    return copied;
}

bool MimeMessage::refill() {
    if (stage_ == Stage::Attachment) {
        if (!readFull(*attachment_, chunk_, kChunkBytes) || chunk_.size() > attachmentLeft_)
            return false;
        attachmentLeft_ -= chunk_.size();
        if (!chunk_.empty()) {
            encodeChunk();
            return true;
        }
        stage_ = Stage::Closing;
    }
    pending_ = "\r\n--" + boundary_ + "--\r\n";
    stage_ = Stage::Done;
    return true;
}

void MimeMessage::encodeChunk() {
    pending_.reserve(chunk_.size() / kBase64LineBytes * 78 + 80);
    for (std::size_t start = 0; start < chunk_.size(); start += kBase64LineBytes) {
        if (!firstLine_) pending_ += "\r\n";
        firstLine_ = false;
        appendBase64(chunk_.data() + start, std::min(kBase64LineBytes, chunk_.size() - start),
                     pending_);
    }
}

}  // namespace twkd
