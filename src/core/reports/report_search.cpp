#include "core/reports/report_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace twk {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Non-zero when a byte of word equals the byte that pattern repeats.
std::uint64_t holdsByte(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return (x - kOnes) & ~x & kHighs;
}

bool startsWithAt(std::string_view line, std::size_t at, std::string_view form) {
    return !form.empty() && line.size() - at >= form.size() &&
           std::memcmp(line.data() + at, form.data(), form.size()) == 0;
}

}  // namespace

RowSearch::RowSearch(std::string_view text)
    : text_(text), characters_(platform::caseFormsOf(text)) {
    for (const platform::CaseForms& forms : characters_) lowered_ += forms.lower;
    holdsSeparator_ = text.find(';') != std::string_view::npos;
    if (characters_.empty()) return;
    firstLower_ = static_cast<unsigned char>(characters_.front().lower.front());
    const std::string& upper = characters_.front().upper;
    firstUpper_ = upper.empty() ? firstLower_ : static_cast<unsigned char>(upper.front());
}

bool RowSearch::narrows(const RowSearch& wider) const {
    return lowered_.find(wider.lowered_) != std::string::npos;
}

bool RowSearch::matchesAt(std::string_view line, std::size_t at) const {
    for (const platform::CaseForms& forms : characters_) {
        // Both forms are whole characters, so at most one of them starts here.
        if (startsWithAt(line, at, forms.lower))
            at += forms.lower.size();
        else if (startsWithAt(line, at, forms.upper))
            at += forms.upper.size();
        else
            return false;
    }
    return true;
}

// The first place from from on where the text's first character may start: eight bytes are
// looked at in one step, since most bytes of a line start nothing.
std::size_t RowSearch::nextCandidate(std::string_view line, std::size_t from) const {
    const std::uint64_t lower = kOnes * firstLower_, upper = kOnes * firstUpper_;
    const auto isFirst = [&](std::size_t at) {
        const auto byte = static_cast<unsigned char>(line[at]);
        return byte == firstLower_ || byte == firstUpper_;
    };
    for (std::size_t at = from; at < line.size();) {
        if (at + 8 <= line.size()) {
            std::uint64_t word;
            std::memcpy(&word, line.data() + at, sizeof word);
            if (!(holdsByte(word, lower) | holdsByte(word, upper))) {
                at += 8;
                continue;
            }
            for (const std::size_t end = at + 8; at < end; ++at)
                if (isFirst(at)) return at;
            continue;
        }
        if (isFirst(at)) return at;
        ++at;
    }
    return std::string_view::npos;
}

bool RowSearch::foundInLine(std::string_view line, std::size_t fieldCount) const {
    if (empty()) return true;
    if (holdsSeparator_) return false;
    for (std::size_t at = nextCandidate(line, 0); at != std::string_view::npos;
         at = nextCandidate(line, at + 1)) {
        if (!matchesAt(line, at)) continue;
        // Found in the field that at lies in; a text without ";" never spans two.
        const auto field =
            static_cast<std::size_t>(std::count(line.begin(), line.begin() + at, ';'));
        return field < fieldCount;
    }
    return false;
}

}  // namespace twk
