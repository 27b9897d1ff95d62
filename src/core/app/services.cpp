#include "core/app/services.h"

#include <cctype>

namespace twk {
namespace {

bool hasScheme(const std::string& url, const std::string& scheme) {
    if (url.size() <= scheme.size() + 1) return false;
    for (size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(url[i])) != scheme[i]) return false;
    return url[scheme.size()] == ':';
}

}  // namespace

bool isWebAddress(const std::string& url) {
    return (hasScheme(url, "http") || hasScheme(url, "https")) &&
           url.find("://") != std::string::npos;
}

bool isOpenableAddress(const std::string& url) {
    return isWebAddress(url) || hasScheme(url, "mailto");
}

}  // namespace twk
