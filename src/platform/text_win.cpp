#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/text.h"

namespace platform {
namespace {

// The length of the character at text[at] in the ANSI code page: two for the lead and trail
// bytes of a double-byte code page, else one.
std::size_t characterLength(std::string_view text, std::size_t at) {
    return ::IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

std::string inCase(std::string character, bool upper) {
    const auto length = static_cast<DWORD>(character.size());
    if (upper)
        ::CharUpperBuffA(character.data(), length);
    else
        ::CharLowerBuffA(character.data(), length);
    return character;
}

// text of codePage in UTF-16; empty when flags ask for valid text and it is not.
std::optional<std::wstring> wideFrom(UINT codePage, std::string_view text, DWORD flags) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int wideLength = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (wideLength == 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), wideLength);
    return wide;
}

// wide in codePage; *lost (when given; never for UTF-8) tells whether a character was missing.
std::string bytesFrom(UINT codePage, const std::wstring& wide, DWORD flags, BOOL* lost) {
    if (wide.empty()) return {};
    const int wideLength = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(codePage, flags, wide.data(), wideLength, nullptr, 0, nullptr, lost);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), wideLength, bytes.data(), length, nullptr,
                          nullptr);
    return bytes;
}

}  // namespace

size_t characterCount(const std::string& text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); i += characterLength(text, i)) ++count;
    return count;
}

std::vector<CaseForms> caseFormsOf(std::string_view text) {
    std::vector<CaseForms> forms;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = characterLength(text, at);
        const std::string character(text.substr(at, length));
        std::string lower = inCase(character, false);
        std::string upper = inCase(character, true);
        if (upper == lower) upper.clear();
        forms.push_back({std::move(lower), std::move(upper)});
        at += length;
    }
    return forms;
}

std::optional<std::string> inSystemCodePage(std::string_view text) {
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    if (std::all_of(text.begin(), text.end(), isAscii) || ::GetACP() == CP_UTF8)
        return std::string(text);
    const std::optional<std::wstring> wide = wideFrom(CP_UTF8, text, MB_ERR_INVALID_CHARS);
    if (!wide) return std::string(text);  // no UTF-8: in the code page already
    // Without best fit: a letter the code page lacks must not turn into a look-alike silently.
    BOOL lost = FALSE;
    std::string ansi = bytesFrom(CP_ACP, *wide, WC_NO_BEST_FIT_CHARS, &lost);
    if (lost) return std::nullopt;
    return ansi;
}

std::string utf8FromSystemCodePage(std::string_view text) {
    if (text.empty() || ::GetACP() == CP_UTF8) return std::string(text);
    return bytesFrom(CP_UTF8, wideFrom(CP_ACP, text, 0).value_or(std::wstring()), 0, nullptr);
}

}  // namespace platform
