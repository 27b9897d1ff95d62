#include "platform/text.h"

namespace platform {
namespace {

// The alphabets whose letters come in two cases, with Unicode's simple case mappings; other
// characters have one form only.
struct CaseRange {
    char32_t first, last;  // upper case letters first..last; alternating: first..last lower
    char32_t lowerFirst;   // their lower case letters, in the same order
    bool alternating;      // upper and lower alternate (upper, lower, upper, ...)
};

constexpr CaseRange kCaseRanges[] = {
    {U'A', U'Z', U'a', false},       {0x00C0, 0x00D6, 0x00E0, false},
    {0x00D8, 0x00DE, 0x00F8, false}, {0x0100, 0x012F, 0x0101, true},
    {0x0132, 0x0137, 0x0133, true},  {0x0139, 0x0148, 0x013A, true},
    {0x014A, 0x0177, 0x014B, true},  {0x0178, 0x0178, 0x00FF, false},
    {0x0179, 0x017E, 0x017A, true},  {0x0386, 0x0386, 0x03AC, false},
    {0x0388, 0x038A, 0x03AD, false}, {0x038C, 0x038C, 0x03CC, false},
    {0x038E, 0x038F, 0x03CD, false}, {0x0391, 0x03A1, 0x03B1, false},
    {0x03A3, 0x03AB, 0x03C3, false}, {0x0400, 0x040F, 0x0450, false},
    {0x0410, 0x042F, 0x0430, false}, {0x0460, 0x0481, 0x0461, true},
    {0x048A, 0x04BF, 0x048B, true},  {0x04C0, 0x04C0, 0x04CF, false},
    {0x04C1, 0x04CE, 0x04C2, true},  {0x04D0, 0x052F, 0x04D1, true},
    {0x0531, 0x0556, 0x0561, false}, {0x1E00, 0x1E95, 0x1E01, true},
    {0x1EA0, 0x1EFF, 0x1EA1, true},  {0xFF21, 0xFF3A, 0xFF41, false},
};

struct CasePair {
    char32_t lower, upper;
};

CasePair casePair(char32_t c) {
    for (const CaseRange& range : kCaseRanges) {
        if (range.alternating) {
            if (c < range.first || c > range.last) continue;
            const bool upper = (c - range.first) % 2 == 0;
            return upper ? CasePair{c + 1, c} : CasePair{c, c - 1};
        }
        if (c >= range.first && c <= range.last) return {range.lowerFirst + (c - range.first), c};
        const char32_t lowerLast = range.lowerFirst + (range.last - range.first);
        if (c >= range.lowerFirst && c <= lowerLast)
            return {c, range.first + (c - range.lowerFirst)};
    }
    return {c, c};
}

std::string utf8(char32_t c) {
    std::string bytes;
    if (c < 0x80) {
        bytes += static_cast<char>(c);
    } else if (c < 0x800) {
        bytes += static_cast<char>(0xC0 | (c >> 6));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes += static_cast<char>(0xE0 | (c >> 12));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (c >> 18));
        bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
    return bytes;
}

// The code point of the UTF-8 sequence at text[at] and its length; length 0 for a byte that
// starts no valid sequence.
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) return {0, 0};
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (byte(i) & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
    return {c, length};
}

}  // namespace

size_t characterCount(const std::string& text) {
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

std::vector<CaseForms> caseFormsOf(std::string_view text) {
    std::vector<CaseForms> forms;
    for (std::size_t at = 0; at < text.size();) {
        const auto [c, length] = decode(text, at);
        if (length == 0) {
            forms.push_back({std::string(1, text[at]), {}});
            ++at;
            continue;
        }
        const CasePair pair = casePair(c);
        forms.push_back(
            {utf8(pair.lower), pair.upper == pair.lower ? std::string() : utf8(pair.upper)});
        at += length;
    }
    return forms;
}

std::optional<std::string> inSystemCodePage(std::string_view text) { return std::string(text); }

std::string utf8FromSystemCodePage(std::string_view text) { return std::string(text); }

}  // namespace platform
