#pragma once

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

}  // namespace platform
