#include "helper/mail_text.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>

#include "helper/local_time.h"
#include "platform/roots.h"

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

// The calendar time read as if it were UTC, in seconds since the epoch: less the time it
// stands for, the zone's offset. Days are counted in 400-year eras of the Gregorian calendar.
long long secondsAsIfUtc(const std::tm& time) {
    long long year = time.tm_year + 1900LL - (time.tm_mon < 2 ? 1 : 0);
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long month = time.tm_mon + 1;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + time.tm_mday - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long long days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + time.tm_hour * 3600LL + time.tm_min * 60LL + time.tm_sec;
}

}  // namespace

void appendBase64(const char* bytes, size_t size, std::string& out) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const size_t start = out.size();
    out.resize(start + (size + 2) / 3 * 4);
    char* next = out.data() + start;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const unsigned value = in[i] << 16 | in[i + 1] << 8 | in[i + 2];
        *next++ = kAlphabet[value >> 18];
        *next++ = kAlphabet[(value >> 12) & 0x3F];
        *next++ = kAlphabet[(value >> 6) & 0x3F];
        *next++ = kAlphabet[value & 0x3F];
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const unsigned value = in[i] << 16 | (two ? in[i + 1] << 8 : 0u);
        *next++ = kAlphabet[value >> 18];
        *next++ = kAlphabet[(value >> 12) & 0x3F];
        *next++ = two ? kAlphabet[(value >> 6) & 0x3F] : '=';
        *next++ = '=';
    }
}

std::string base64(const std::string& bytes) {
    std::string out;
    appendBase64(bytes.data(), bytes.size(), out);
    return out;
}

std::string quotedPrintable(const std::string& crlfText) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    constexpr size_t kMaxLine = 76;
    std::string out;
    size_t column = 0;
    for (size_t i = 0; i < crlfText.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(crlfText[i]);
        if (c == '\r' && i + 1 < crlfText.size() && crlfText[i + 1] == '\n') {
            out += "\r\n";
            column = 0;
            ++i;
            continue;
        }
        // Blanks at a line's end would be dropped on the way, so they are encoded there.
        const bool endsLine = i + 1 == crlfText.size() || crlfText[i + 1] == '\r';
        const bool blank = c == ' ' || c == '\t';
        const bool literal = (c >= 33 && c <= 126 && c != '=') || (blank && !endsLine);
        const size_t width = literal ? 1 : 3;
        // A soft break ("=" at the end) keeps every line within the limit.
        const size_t room = endsLine ? kMaxLine : kMaxLine - 1;
        if (column + width > room) {
            out += "=\r\n";
            column = 0;
        }
        if (literal) {
            out += static_cast<char>(c);
        } else {
            out += '=';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
        column += width;
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
    const std::tm local = localTime(when);
    long offsetMinutes = static_cast<long>((secondsAsIfUtc(local) - when) / 60);
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
    std::string name = path.substr(path.find_last_of("/" + platform::pathSeparator()) + 1);
    for (char& c : name) {
        bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        if (control || c == '"' || c == '\\') c = '_';
    }
    return name.empty() ? std::string("attachment") : name;
}

}  // namespace twkd
