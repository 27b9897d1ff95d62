#include "core/reports/report_sort.h"

#include <algorithm>
#include <array>
#include <memory>
#include <thread>

#include "core/reports/report_record.h"

// Most comparisons of a sort by cell text would read the cells, scattered through the file
// bytes. Each row instead carries a number made of the next few bytes of its cell, so a sort
// compares numbers in a small array; only rows whose numbers tie and whose cells go on are
// read again, once per group and depth, to get the next bytes (a most-significant-first
// string sort). A prefix that a whole group shares is skipped in one step.
namespace twk {
namespace {

// Cell bytes in one key; the key's lowest byte holds how many bytes of the cell are left from
// the key's start, up to kGoesOn, so a shorter cell sorts before a longer one with the same bytes.
constexpr std::size_t kKeyBytes = 7;
constexpr std::uint64_t kGoesOn = kKeyBytes + 1;

// Below this many rows a second thread costs more than it saves.
constexpr std::size_t kParallelRows = 1 << 15;

// One row in the sort: its key at the current depth, and its place before the sort, which
// breaks ties so that the sort is stable. Packed into 12 bytes.
struct Entry {
    std::uint32_t keyHigh;
    std::uint32_t keyLow;
    std::uint32_t row;

    std::uint64_t key() const { return std::uint64_t{keyHigh} << 32 | keyLow; }
    void setKey(std::uint64_t key) {
        keyHigh = static_cast<std::uint32_t>(key >> 32);
        keyLow = static_cast<std::uint32_t>(key);
    }
    friend bool operator<(const Entry& a, const Entry& b) {
        const std::uint64_t keyA = a.key(), keyB = b.key();
        return keyA != keyB ? keyA < keyB : a.row < b.row;
    }
};
static_assert(sizeof(Entry) == 12);

using Entries = std::span<Entry>;

// Runs first on a thread of its own and second on this one, and returns when both are done.
template <typename First, typename Second>
void bothAtOnce(First first, Second second) {
    std::jthread other(first);
    second();
}

// The key of cell from byte depth on; the cell is at least depth bytes long.
std::uint64_t textKey(std::string_view cell, std::size_t depth) {
    const std::size_t left = cell.size() - depth;
    const std::size_t taken = std::min(left, kKeyBytes);
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < taken; ++i)
        key |= std::uint64_t{static_cast<unsigned char>(cell[depth + i])} << (56 - 8 * i);
    return key | std::min<std::uint64_t>(left, kGoesOn);
}

std::size_t sharedBytes(std::string_view a, std::string_view b, std::size_t limit) {
    limit = std::min({limit, a.size(), b.size()});
    return static_cast<std::size_t>(
        std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(limit), b.begin()).first -
        a.begin());
}

// A splitter near the middle of entries, so that the two sides are about the same size.
Entry middleSample(Entries entries) {
    std::array<Entry, 255> sample;
    for (std::size_t i = 0; i < sample.size(); ++i)
        sample[i] = entries[i * (entries.size() - 1) / (sample.size() - 1)];
    const auto middle = sample.begin() + sample.size() / 2;
    std::nth_element(sample.begin(), middle, sample.end());
    return *middle;
}

// Sorts entries by key and row, on up to threads threads.
void sortEntries(Entries entries, unsigned threads) {
    if (threads < 2 || entries.size() < kParallelRows) {
        std::sort(entries.begin(), entries.end());
        return;
    }
    const Entry splitter = middleSample(entries);
    const auto split = std::partition(entries.begin(), entries.end(),
                                      [&splitter](const Entry& e) { return e < splitter; });
    const Entries low(entries.begin(), split), high(split, entries.end());
    bothAtOnce([&] { sortEntries(low, threads / 2); },
               [&] { sortEntries(high, threads - threads / 2); });
}

class Sorter {
public:
    Sorter(Entries entries, std::span<const std::uint64_t> rows, const SortCells& cells,
           bool descending)
        : entries_(entries), rows_(rows), cells_(cells), flip_(descending ? ~0ull : 0) {}

    // Entries in the order of their cells; false when a moment order was asked but some cell
    // names no moment.
    bool sort(CellOrder order, unsigned threads) {
        if (order == CellOrder::Moments) {
            if (!fillMoments(entries_, threads)) return false;
            sortEntries(entries_, threads);
            return true;
        }
        sortText(entries_, 0, threads);
        return true;
    }

private:
    std::string_view cellOf(const Entry& entry) const { return cells_.cell(rows_[entry.row]); }

    bool fillMoments(Entries entries, unsigned threads) {
        if (threads >= 2 && entries.size() >= kParallelRows) {
            const std::size_t half = entries.size() / 2;
            bool lowFilled = false, highFilled = false;
            bothAtOnce([&] { lowFilled = fillMoments(entries.first(half), threads / 2); },
                       [&] {
                           highFilled =
                               fillMoments(entries.subspan(half), threads - threads / 2);
                       });
            return lowFilled && highFilled;
        }
        for (Entry& entry : entries) {
            const std::string_view cell = cellOf(entry);
            std::uint64_t moment = 0;  // empty cells come first
            if (!cell.empty()) {
                const auto named = MomentOfTime(cell);
                if (!named) return false;
                moment = *named;
            }
            entry.setKey(moment ^ flip_);
        }
        return true;
    }

    // Sets the keys of entries from byte depth on, and returns how many bytes from depth on
    // all their cells share.
    std::size_t fillText(Entries entries, std::size_t depth, unsigned threads) {
        if (threads >= 2 && entries.size() >= kParallelRows) {
            const std::size_t half = entries.size() / 2;
            std::size_t lowShared = 0, highShared = 0;
            bothAtOnce([&] { lowShared = fillText(entries.first(half), depth, threads / 2); },
                       [&] {
                           highShared =
                               fillText(entries.subspan(half), depth, threads - threads / 2);
                       });
            return sharedBytes(cellOf(entries.front()).substr(depth),
                               cellOf(entries[half]).substr(depth),
                               std::min(lowShared, highShared));
        }
        const std::string_view first = cellOf(entries.front()).substr(depth);
        std::size_t shared = first.size();
        for (Entry& entry : entries) {
            const std::string_view cell = cellOf(entry);
            entry.setKey(textKey(cell, depth) ^ flip_);
            shared = sharedBytes(first, cell.substr(depth), shared);
        }
        return shared;
    }

    // Sorts entries whose cells are equal before byte depth.
    void sortText(Entries entries, std::size_t depth, unsigned threads) {
        const std::size_t shared = fillText(entries, depth, threads);
        if (shared > kKeyBytes) {
            // Every key would tie: start where the cells begin to differ.
            depth += shared;
            fillText(entries, depth, threads);
        }
        sortEntries(entries, threads);
        sortTies(entries, depth + kKeyBytes, threads);
    }

    bool goesOn(const Entry& entry) const { return ((entry.key() ^ flip_) & 0xFF) == kGoesOn; }

    // The end of the group of entries with the key of entries[start].
    static std::size_t groupEnd(Entries entries, std::size_t start) {
        std::size_t end = start + 1;
        while (end < entries.size() && entries[end].key() == entries[start].key()) ++end;
        return end;
    }

    // Sorts each group of sorted entries whose keys tie while their cells go on past them,
    // by the cells' bytes from depth on.
    void sortTies(Entries entries, std::size_t depth, unsigned threads) {
        if (threads < 2 || entries.size() < kParallelRows) {
            for (std::size_t start = 0; start < entries.size();) {
                const std::size_t end = groupEnd(entries, start);
                sortGroup(entries.subspan(start, end - start), depth, 1);
                start = end;
            }
            return;
        }
        std::size_t start = entries.size() / 2;
        while (start > 0 && entries[start - 1].key() == entries[start].key()) --start;
        const std::size_t end = groupEnd(entries, start);
        if (end - start >= entries.size() / 2) {
            // The middle group is the larger part of the work: give it every thread.
            sortGroup(entries.subspan(start, end - start), depth, threads);
            sortTies(entries.first(start), depth, threads);
            sortTies(entries.subspan(end), depth, threads);
            return;
        }
        const std::size_t split = end < entries.size() ? end : start;
        bothAtOnce([&] { sortTies(entries.first(split), depth, threads / 2); },
                   [&] { sortTies(entries.subspan(split), depth, threads - threads / 2); });
    }

    void sortGroup(Entries group, std::size_t depth, unsigned threads) {
        if (group.size() > 1 && goesOn(group.front())) sortText(group, depth, threads);
    }

    Entries entries_;
    std::span<const std::uint64_t> rows_;
    const SortCells& cells_;
    const std::uint64_t flip_;  // all ones when descending, so that keys compare reversed
};

// Rows in the order of the sorted entries, gathered through the entries' keys.
void applyOrder(Entries entries, std::span<std::uint64_t> rows, unsigned threads) {
    if (threads >= 2 && entries.size() >= kParallelRows) {
        const std::size_t half = entries.size() / 2;
        bothAtOnce(
            [&] {
                for (Entry& entry : entries.first(half)) entry.setKey(rows[entry.row]);
            },
            [&] {
                for (Entry& entry : entries.subspan(half)) entry.setKey(rows[entry.row]);
            });
    } else {
        for (Entry& entry : entries) entry.setKey(rows[entry.row]);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = entries[i].key();
}

}  // namespace

void SortRows(std::span<std::uint64_t> rows, const SortCells& cells, CellOrder order,
              bool descending) {
    if (rows.size() < 2) return;
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    const auto entries = std::make_unique_for_overwrite<Entry[]>(rows.size());
    const Entries all(entries.get(), rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        all[row].row = static_cast<std::uint32_t>(row);
    Sorter sorter(all, rows, cells, descending);
    // A failed moment order has only set keys, so the entries are still in row order.
    if (!sorter.sort(order, threads)) sorter.sort(CellOrder::Bytes, threads);
    applyOrder(all, rows, threads);
}

}  // namespace twk
