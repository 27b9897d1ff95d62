#include <curl/curl.h>

#include <string>

#include "platform/download.h"
#include "platform/files.h"

namespace platform {
namespace {

struct Sink {
    FileReplacement& file;
    long long written = 0;
    long long maxBytes;
};

size_t writeChunk(char* data, size_t size, size_t count, void* userData) {
    auto* sink = static_cast<Sink*>(userData);
    size_t bytes = size * count;
    sink->written += static_cast<long long>(bytes);
    // Returning less than given aborts the transfer.
    if (sink->written > sink->maxBytes || !sink->file.write({data, bytes})) return 0;
    return bytes;
}

// libcurl's own words for a failed transfer, or empty text when it succeeded.
std::string transfer(const std::string& url, Sink& sink, const DownloadLimits& limits) {
    CURL* curl = curl_easy_init();
    if (!curl) return "libcurl could not be set up";
    char details[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, details);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (result == CURLE_OK) return {};
    std::string why = std::string("libcurl: ") + curl_easy_strerror(result);
    if (details[0] != '\0') why += std::string(": ") + details;
    return why;
}

}  // namespace

bool downloadFile(const std::string& url, const std::string& target, const DownloadLimits& limits,
                  std::string* failure) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    std::string why = "libcurl could not be set up";
    if (initialised) {
        FileReplacement file(target);
        Sink sink{file, 0, limits.maxBytes};
        why = transfer(url, sink, limits);
        if (why.empty()) file.commit();
        // A write that failed aborts the transfer: the file's reason says more than libcurl's.
        if (!file.failure().empty())
            why = target + " could not be written (" + file.failure() + ")";
    }
    if (why.empty()) return true;
    if (failure) *failure = why;
    return false;
}

}  // namespace platform
