#include "helper/smtp_mail.h"

#include <curl/curl.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "helper/mail_text.h"

namespace twkd {
namespace {

struct CurlCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;
using MimeHandle = std::unique_ptr<curl_mime, CurlCleanup>;
using ListHandle = std::unique_ptr<curl_slist, CurlCleanup>;

bool isMailServerUrl(const std::string& url) {
    return url.rfind("smtp://", 0) == 0 || url.rfind("smtps://", 0) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool append(ListHandle& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return false;
    list.release();
    list.reset(grown);
    return true;
}

ListHandle messageHeaders(const MailSettings& settings, const OutgoingMail& mail) {
    ListHandle headers;
    bool ok = append(headers, "From: " + settings.sender) &&
              append(headers, "To: " + mail.recipient) &&
              append(headers, "Subject: " + encodeHeaderText(mail.subject)) &&
              append(headers, "Date: " + mailDate(std::time(nullptr))) &&
              append(headers, "Message-ID: " + messageId(settings.sender));
    return ok ? std::move(headers) : ListHandle();
}

// The text part, and the attachment as bytes under its own name when there is one.
MimeHandle messageParts(CURL* curl, const OutgoingMail& mail,
                        const std::optional<std::string>& attachment) {
    MimeHandle mime(curl_mime_init(curl));
    if (!mime) return {};
    const std::string body = toCrlf(mail.body);
    curl_mimepart* text = curl_mime_addpart(mime.get());
    bool ok = text && curl_mime_data(text, body.data(), body.size()) == CURLE_OK &&
              curl_mime_type(text, "text/plain; charset=UTF-8") == CURLE_OK &&
              curl_mime_encoder(text, "quoted-printable") == CURLE_OK;
    if (ok && attachment) {
        curl_mimepart* file = curl_mime_addpart(mime.get());
        ok = file && curl_mime_data(file, attachment->data(), attachment->size()) == CURLE_OK &&
             curl_mime_filename(file, attachmentName(mail.attachment).c_str()) == CURLE_OK &&
             curl_mime_type(file, "application/octet-stream") == CURLE_OK &&
             curl_mime_encoder(file, "base64") == CURLE_OK;
    }
    return ok ? std::move(mime) : MimeHandle();
}

void setConnection(CURL* curl, const MailSettings& settings) {
    curl_easy_setopt(curl, CURLOPT_URL, settings.server.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, settings.timeoutSeconds);
    if (settings.startTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!settings.user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, settings.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, settings.password.c_str());
    }
}

}  // namespace

MailResult sendMail(const MailSettings& settings, const OutgoingMail& mail) {
    if (!isPlainAddress(mail.recipient)) return kMailBadArgument;
    if (!isMailServerUrl(settings.server) || !isPlainAddress(settings.sender))
        return kMailBadSettings;
    std::optional<std::string> attachment;
    if (!mail.attachment.empty()) {
        attachment = readWholeFile(mail.attachment);
        if (!attachment) return kMailAttachmentUnreadable;
    }
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    CurlHandle curl(initialised ? curl_easy_init() : nullptr);
    if (!curl) return kMailNotDelivered;
    ListHandle recipients;
    ListHandle headers = messageHeaders(settings, mail);
    MimeHandle parts = messageParts(curl.get(), mail, attachment);
    if (!append(recipients, "<" + mail.recipient + ">") || !headers || !parts)
        return kMailNotDelivered;
    const std::string from = "<" + settings.sender + ">";
    setConnection(curl.get(), settings);
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl.get(), CURLOPT_MIMEPOST, parts.get());
    return curl_easy_perform(curl.get()) == CURLE_OK ? kMailSent : kMailNotDelivered;
}

}  // namespace twkd
