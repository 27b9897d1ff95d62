#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Number of characters of 8-bit text in the system code page (UTF-8 here: code points).
size_t characterCount(const std::string& text);

// The spellings of one character that a search without regard to case takes for it: its lower
// case form, and its upper case form when that is another one (else empty).
struct CaseForms {
    std::string lower;
    std::string upper;
};

// The characters of text (8-bit text in the system code page) with their case forms, in order.
// A byte that starts no valid character stands for itself alone.
std::vector<CaseForms> caseFormsOf(std::string_view text);

// A shipped text file's text in the system code page. Such files come in UTF-8, or written for
// one system in its code page already: UTF-8 text is converted, other text is taken as it is.
// Empty when the code page lacks one of the text's characters (Cyrillic under a Western code
// page of Windows). Linux, whose code page is UTF-8, takes every text as it is.
std::optional<std::string> inSystemCodePage(std::string_view text);

// Text in the system code page as UTF-8, for what leaves the machine (mail): Linux's code page is
// UTF-8 already.
std::string utf8FromSystemCodePage(std::string_view text);

}  // namespace platform
