#include <windows.h>

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

}  // namespace platform
