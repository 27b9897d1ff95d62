#include <curl/curl.h>

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

bool transfer(const std::string& url, Sink& sink, const DownloadLimits& limits) {
    CURL* curl = curl_easy_init();
    if (!curl) return false;
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
    CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return result == CURLE_OK;
}

}  // namespace

bool downloadFile(const std::string& url, const std::string& target, const DownloadLimits& limits) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised) return false;
    FileReplacement file(target);
    Sink sink{file, 0, limits.maxBytes};
    return transfer(url, sink, limits) && file.commit();
}

}  // namespace platform
