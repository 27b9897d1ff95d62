#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace twk {

// A text the user looks for in the report table's cells, without regard to case: each of its
// characters may stand in a cell in either of its cases (as the system code page has them).
class RowSearch {
public:
    RowSearch() = default;
    // text is 8-bit text in the system code page.
    explicit RowSearch(std::string_view text);

    bool empty() const { return characters_.empty(); }
    const std::string& text() const { return text_; }

    // True when every cell this search finds is found by wider too: its text holds wider's,
    // cases aside, so a search that grows by a letter only looks among the rows shown.
    bool narrows(const RowSearch& wider) const;

    // True when the text stands in one of the first fieldCount fields of a report line (the
    // fields the table shows; those after them are dropped). A text holding ";" stands in no
    // field; the empty text stands in every line.
    bool foundInLine(std::string_view line, std::size_t fieldCount) const;

private:
    bool matchesAt(std::string_view line, std::size_t at) const;
    std::size_t nextCandidate(std::string_view line, std::size_t from) const;

    std::string text_;
    std::vector<platform::CaseForms> characters_;
    std::string lowered_;  // the lower case forms of the characters, one after another
    bool holdsSeparator_ = false;
    unsigned char firstLower_ = 0, firstUpper_ = 0;  // the first bytes of the first character
};

}  // namespace twk
