#include "helper/mail_text.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>

namespace twkd {
namespace {

// 52 base64 characters per encoded word keep even the first line, "Subject: " and one word,
// within 78 characters.
constexpr size_t kEncodedWordBytes = 39;
// Longer plain text is encoded too, so that it can be folded.
constexpr size_t kMaxPlainHeaderChars = 76;

bool isPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

bool needsEncoding(const std::string& text) {
    return text.size() > kMaxPlainHeaderChars || text.find("=?") != std::string::npos ||
           !std::all_of(text.begin(), text.end(), isPrintableAscii);
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The length of the next chunk from start, at most maxBytes, never splitting a UTF-8 sequence.
size_t chunkLength(const std::string& text, size_t start, size_t maxBytes) {
    size_t end = std::min(text.size(), start + maxBytes);
    while (end < text.size() && end > start + 1 && isContinuationByte(text[end])) --end;
    return end - start;
}

}  // namespace

std::string base64(const std::string& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t count = std::min<size_t>(3, bytes.size() - i);
        unsigned value = 0;
        for (size_t k = 0; k < 3; ++k)
            value = value << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            out += k <= count ? kAlphabet[(value >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

std::string encodeHeaderText(const std::string& text) {
    if (!needsEncoding(text)) return text;
    std::string encoded;
    for (size_t start = 0; start < text.size();) {
        size_t length = chunkLength(text, start, kEncodedWordBytes);
        if (!encoded.empty()) encoded += "\r\n ";
        encoded += "=?UTF-8?B?" + base64(text.substr(start, length)) + "?=";
        start += length;
    }
    return encoded;
}

std::string mailDate(std::time_t when) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    ::localtime_r(&when, &local);
    long offsetMinutes = local.tm_gmtoff / 60;
    char sign = offsetMinutes < 0 ? '-' : '+';
    offsetMinutes = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[local.tm_wday], local.tm_mday, kMonths[local.tm_mon], local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec, sign, offsetMinutes / 60,
                  offsetMinutes % 60);
    return text;
}

std::string messageId(const std::string& sender) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    std::string domain =
        isPlainAddress(sender) ? sender.substr(sender.find('@') + 1) : std::string("localhost");
    char unique[96];
    std::snprintf(unique, sizeof unique, "%lld.%ld.%u.%08x",
                  static_cast<long long>(std::time(nullptr)), static_cast<long>(::getpid()),
                  ++counter, static_cast<unsigned>(random()));
    return "<" + std::string(unique) + "@" + domain + ">";
}

std::string toCrlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

bool isPlainAddress(const std::string& address) {
    size_t at = address.find('@');
    if (at == std::string::npos || at == 0 || at + 1 == address.size() ||
        address.find('@', at + 1) != std::string::npos)
        return false;
    return std::none_of(address.begin(), address.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '<' || c == '>' ||
               c == ',' || c == '"';
    });
}

std::string attachmentName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    for (char& c : name) {
        bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        if (control || c == '"' || c == '\\') c = '_';
    }
    return name.empty() ? std::string("attachment") : name;
}

}  // namespace twkd
