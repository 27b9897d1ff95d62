#pragma once

#include <string>

namespace platform {

struct DownloadLimits {
    long connectSeconds = 4;     // a silent host must not hold start-up
    long totalSeconds = 8;
    long long maxBytes = 1 << 20;
};

// Fetches url (http or https, redirects followed) into a temporary file beside target and
// renames it over target only when the whole transfer succeeded, so a failed or partial download
// leaves an earlier copy whole. HTTP error statuses count as failures. Linux: libcurl; Windows:
// URLDownloadToFileA, aborted past maxBytes or totalSeconds (which bounds connecting too).
bool downloadFile(const std::string& url, const std::string& target,
                  const DownloadLimits& limits = {});

}  // namespace platform
