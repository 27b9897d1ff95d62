#pragma once

#include <chrono>
#include <string>

namespace platform {

struct DownloadLimits {
    // The whole transfer, name lookup and connection included. Start-up waits for it, so a
    // silent or unreachable host must not keep the main window away for long, while a
    // version file of a few bytes takes a fraction of it from a server that answers.
    std::chrono::milliseconds total{2000};
    long long maxBytes = 1 << 20;
};

// Fetches url (http or https, redirects followed) into a temporary file beside target and
// renames it over target only when the whole transfer succeeded, so a failed or partial download
// leaves an earlier copy whole. HTTP error statuses count as failures. Linux: libcurl; Windows:
// URLDownloadToFileA, aborted past maxBytes or total. failure, when given, tells why it failed
// (libcurl's or the system's words).
bool downloadFile(const std::string& url, const std::string& target,
                  const DownloadLimits& limits = {}, std::string* failure = nullptr);

}  // namespace platform
