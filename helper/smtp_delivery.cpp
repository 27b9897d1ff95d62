#include "helper/smtp_delivery.h"

#include <curl/curl.h>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include <memory>
#include <string>

namespace twkd {
namespace {

struct CurlCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;
using ListHandle = std::unique_ptr<curl_slist, CurlCleanup>;

// Large pieces keep the upload as fast as the loopback allows.
constexpr long kUploadBufferBytes = 512 * 1024;

struct Upload {
    MimeMessage& message;
    bool unreadable = false;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* userdata) {
    auto* upload = static_cast<Upload*>(userdata);
    const std::optional<size_t> copied = upload->message.read(buffer, size * count);
    if (copied) return *copied;
    upload->unreadable = true;
    return CURL_READFUNC_ABORT;
}

void setConnection(CURL* curl, const MailSettings& settings) {
    curl_easy_setopt(curl, CURLOPT_URL, settings.server.c_str());
    curl_easy_setopt(curl, CURLOPT_DISALLOW_USERNAME_IN_URL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // Silence is bounded, not the whole transfer: a large report may take long on a slow line.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, settings.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, settings.timeoutSeconds);
    // Each answer and the goodbye after a failed attempt (120 s unless set).
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, settings.timeoutSeconds);
    if (settings.startTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!settings.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, settings.caFile.c_str());
    if (!settings.user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, settings.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, settings.password.c_str());
    }
}

// After a failed attempt libcurl keeps the connection and, at cleanup, says goodbye and waits
// for the answer: on a server that has gone silent that is a second time-out. The attempt is
// over, so the connection is cut instead.
void dropConnection(CURL* curl) {
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(curl, CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK ||
        socket == CURL_SOCKET_BAD)
        return;
#ifdef _WIN32
    ::shutdown(socket, SD_BOTH);
#else
    ::shutdown(socket, SHUT_RDWR);
#endif
}

// libcurl's own words for a failed attempt, with the server's last answer when it gave one.
std::string curlFailure(CURL* curl, CURLcode result, const char* details) {
    std::string text = std::string("libcurl: ") + curl_easy_strerror(result);
    if (details[0] != '\0') text += std::string(": ") + details;
    long answer = 0;
    if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer) == CURLE_OK && answer != 0)
        text += " (the server's last answer: " + std::to_string(answer) + ")";
    return text;
}

bool append(ListHandle& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return false;
    list.release();
    list.reset(grown);
    return true;
}

}  // namespace

bool isUsableServerUrl(const std::string& url) {
    if (url.rfind("smtp://", 0) != 0 && url.rfind("smtps://", 0) != 0) return false;
    // libcurl's own parser, so that no spelling of a login slips past what it would use.
    CURLU* parsed = curl_url();
    const bool noLogin = parsed && curl_url_set(parsed, CURLUPART_URL, url.c_str(),
                                                CURLU_DISALLOW_USER) == CURLUE_OK;
    curl_url_cleanup(parsed);
    return noLogin;
}

MailResult deliverBySmtp(const MailSettings& settings, const OutgoingMail& mail,
                         MimeMessage& message) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    // Before the handle, which may still write into it as it is cleaned up.
    char details[CURL_ERROR_SIZE] = "";
    CurlHandle curl(initialised ? curl_easy_init() : nullptr);
    ListHandle recipients;
    if (!curl || !append(recipients, "<" + mail.recipient + ">"))
        return failedBecause(kMailNotDelivered, "libcurl could not be set up");
    const std::string from = "<" + settings.sender + ">";
    Upload upload{message};
    setConnection(curl.get(), settings);
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(curl.get(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_UPLOAD_BUFFERSIZE, kUploadBufferBytes);
    curl_easy_setopt(curl.get(), CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl.get(), CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, details);
    const CURLcode result = curl_easy_perform(curl.get());
    if (result == CURLE_OK) return kMailSent;
    dropConnection(curl.get());
    if (upload.unreadable)
        return failedBecause(kMailAttachmentUnreadable, "the attachment " + mail.attachment +
                                                            " could not be read while it was sent");
    return failedBecause(kMailNotDelivered, curlFailure(curl.get(), result, details));
}

}  // namespace twkd
