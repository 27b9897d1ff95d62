#include <windows.h>

#include <algorithm>

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
    const int length = static_cast<int>(text.size());
    const int wideLength =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (wideLength == 0) return std::string(text);  // no UTF-8: in the code page already
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    // Without best fit: a letter the code page lacks must not turn into a look-alike silently.
    BOOL lost = FALSE;
    const int ansiLength = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                                 wideLength, nullptr, 0, nullptr, &lost);
    if (ansiLength == 0 || lost) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(ansiLength), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(),
                          ansiLength, nullptr, nullptr);
    return ansi;
}

std::string utf8FromSystemCodePage(std::string_view text) {
    if (text.empty() || ::GetACP() == CP_UTF8) return std::string(text);
    const int length = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(),
                          static_cast<int>(wide.size()));
    const int wideLength = static_cast<int>(wide.size());
    std::string utf8(static_cast<std::size_t>(::WideCharToMultiByte(
                         CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

}  // namespace platform
