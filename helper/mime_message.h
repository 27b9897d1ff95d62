#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "helper/mail_settings.h"

namespace platform {
class RegularFile;
}

namespace twkd {

struct OutgoingMail {
    std::string recipient;
    std::string subject;
    std::string body;
    std::string attachment;  // path of the file to attach; empty for none
};

// The whole message as both routes hand it on: headers, the text part and, when there is one,
// the attachment, read from its open file piece by piece while the message is taken, so memory
// stays the same whatever the file's size.
class MimeMessage {
public:
    // attachment is an open file that the message reads but does not own, or none; one that
    // grows past its read limit counts as unreadable.
    MimeMessage(const MailSettings& settings, const OutgoingMail& mail,
                platform::RegularFile* attachment);

    // Copies the next bytes into buffer: how many, 0 at the end, nothing when the attachment
    // could not be read.
    std::optional<std::size_t> read(char* buffer, std::size_t size);

private:
    bool refill();
    void encodeChunk();

    platform::RegularFile* attachment_;
    std::uint64_t attachmentLeft_;
    std::string boundary_;
    std::string pending_;  // produced but not yet taken
    std::size_t taken_ = 0;
    std::string chunk_;  // attachment bytes read and not yet encoded
    bool firstLine_ = true;
    enum class Stage { Attachment, Closing, Done } stage_;
};

}  // namespace twkd
