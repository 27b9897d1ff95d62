#include "core/reports/report_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

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

// The key of a cell that names no moment; every moment is above it.
constexpr std::uint64_t kNoMoment = 0;

// How many rows ahead a pass over cells asks for their bytes: reading a cell mostly waits
// for memory, and several requests in flight overlap those waits.
constexpr std::size_t kPrefetchDistance = 32;

// Below this many rows a second thread costs more than it saves.
constexpr std::size_t kParallelRows = 1 << 15;

}  // namespace

// One row in the sort: its key at the current depth, and its place before the sort, which
// breaks ties so that the sort is stable. Packed into 12 bytes. Once sorted, the key holds the
// row itself.
struct RowOrder::Entry {
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
static_assert(sizeof(RowOrder::Entry) == 12);

namespace {

using Entry = RowOrder::Entry;
using Entries = std::span<Entry>;

// Runs first on a thread of its own and second on this one, and returns when both are done.
template <typename First, typename Second>
void bothAtOnce(First first, Second second) {
    std::jthread other(first);
    second();
}

// How many parts work over count rows is cut into: one per thread when that pays.
std::size_t partCount(std::size_t count, unsigned threads) {
    return count < kParallelRows ? 1 : threads;
}

// Calls work(part, begin, end) for each of partCount(count, threads) parts of the rows
// [0, count) at once, and returns when all are done.
template <typename Work>
void inParts(std::size_t count, unsigned threads, Work work) {
    const std::size_t parts = partCount(count, threads);
    std::vector<std::jthread> others;
    for (std::size_t part = 1; part < parts; ++part)
        others.emplace_back(work, part, part * count / parts, (part + 1) * count / parts);
    work(std::size_t{0}, std::size_t{0}, count / parts);
}

std::uint64_t textKey(std::string_view cell, std::size_t depth) {
    const std::size_t left = cell.size() - depth;
    std::uint64_t key = 0;
    if (left > kKeyBytes) {
        // Eight bytes at once, most significant first; the eighth gives way to the count.
        std::memcpy(&key, cell.data() + depth, sizeof key);
        if constexpr (std::endian::native == std::endian::little) key = __builtin_bswap64(key);
        return (key & ~std::uint64_t{0xFF}) | kGoesOn;
    }
    for (std::size_t i = 0; i < left; ++i)
        key |= std::uint64_t{static_cast<unsigned char>(cell[depth + i])} << (56 - 8 * i);
    return key | left;
}

std::size_t sharedBytes(std::string_view a, std::string_view b, std::size_t limit) {
    limit = std::min({limit, a.size(), b.size()});
    // Most cells of a group share all that is asked.
    if (limit == 0 || std::memcmp(a.data(), b.data(), limit) == 0) return limit;
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

    // Entries, in row order, in the order of their cells.
    void sort(CellOrder order, unsigned threads) {
        if (order == CellOrder::Bytes) {
            sortText(entries_, 0, threads);
            return;
        }
        fillMoments(threads);
        const Entries moments = entries_.first(movePlainTextLast());
        const Entries texts = entries_.subspan(moments.size());
        sortEntries(moments, threads);
        if (!texts.empty()) sortText(texts, 0, threads);
    }

private:
    std::string_view cellOf(const Entry& entry) const { return cells_.cell(rows_[entry.row]); }

    // Calls visit(entry, cell) for each entry of part in order, asking for cells ahead.
    template <typename Visit>
    void forEachCell(Entries part, Visit visit) const {
        for (std::size_t i = 0; i < part.size(); ++i) {
            if (i + kPrefetchDistance < part.size())
                cells_.prefetch(rows_[part[i + kPrefetchDistance].row]);
            visit(part[i], cellOf(part[i]));
        }
    }

    // A moment key for each entry whose cell names one; kNoMoment for the others.
    void fillMoments(unsigned threads) {
        inParts(entries_.size(), threads, [&](std::size_t, std::size_t begin, std::size_t end) {
            forEachCell(entries_.subspan(begin, end - begin),
                        [&](Entry& entry, std::string_view cell) {
                            entry.setKey(MomentOfTime(cell).value_or(kNoMoment) ^ flip_);
                        });
        });
    }

    bool namesMoment(const Entry& entry) const { return (entry.key() ^ flip_) != kNoMoment; }

    // Moves the entries whose cells name no moment behind the others, keeping the order within
    // both, and answers how many name one. Only the smaller side is copied aside, so this takes
    // at most half the entries' memory again.
    std::size_t movePlainTextLast() {
        const auto moments = static_cast<std::size_t>(std::count_if(
            entries_.begin(), entries_.end(), [this](const Entry& e) { return namesMoment(e); }));
        std::vector<Entry> aside;
        if (moments >= entries_.size() - moments) {
            // From the front: each entry that names a moment moves forward into place.
            std::size_t next = 0;
            for (const Entry& entry : entries_) {
                if (namesMoment(entry))
                    entries_[next++] = entry;
                else
                    aside.push_back(entry);
            }
            std::copy(aside.begin(), aside.end(),
                      entries_.begin() + static_cast<std::ptrdiff_t>(next));
        } else {
            // From the back: each plain entry moves backward into place.
            std::size_t next = entries_.size();
            for (std::size_t i = entries_.size(); i-- > 0;) {
                if (namesMoment(entries_[i]))
                    aside.push_back(entries_[i]);
                else
                    entries_[--next] = entries_[i];
            }
            std::copy(aside.rbegin(), aside.rend(), entries_.begin());
        }
        return moments;
    }

    // How a pass over the cells of a group went.
    struct Fill {
        std::size_t shared;  // bytes from depth on that every cell shares with the first
        bool sameSize;       // every cell is as long as the first
    };

    // Sets the keys of entries from byte keyDepth on, expecting every cell to equal first
    // (their first cell from depth on) up to keyDepth; the keys are valid when it does.
    Fill fillText(Entries entries, std::string_view first, std::size_t depth, std::size_t keyDepth,
                  unsigned threads) {
        std::vector<Fill> fills(partCount(entries.size(), threads), Fill{first.size(), true});
        const std::size_t expected = keyDepth - depth;
        inParts(entries.size(), threads, [&](std::size_t part, std::size_t begin, std::size_t end) {
            Fill& fill = fills[part];
            forEachCell(entries.subspan(begin, end - begin),
                        [&](Entry& entry, std::string_view cell) {
                            fill.shared = sharedBytes(first, cell.substr(depth), fill.shared);
                            fill.sameSize = fill.sameSize && cell.size() == depth + first.size();
                            if (fill.shared >= expected)
                                entry.setKey(textKey(cell, keyDepth) ^ flip_);
                        });
        });
        Fill all = fills.front();
        for (const Fill& fill : fills) {
            all.shared = std::min(all.shared, fill.shared);
            all.sameSize = all.sameSize && fill.sameSize;
        }
        return all;
    }

    // How many bytes from depth on a sample of the cells of entries shares with first: never
    // fewer than all the cells share.
    std::size_t sampledShared(Entries entries, std::string_view first, std::size_t depth) const {
        const std::size_t samples = std::min<std::size_t>(entries.size(), 32);
        std::size_t shared = first.size();
        for (std::size_t i = 1; i < samples; ++i) {
            const std::string_view cell = cellOf(entries[i * (entries.size() - 1) / (samples - 1)]);
            shared = sharedBytes(first, cell.substr(depth), shared);
        }
        return shared;
    }

    // Sorts entries whose cells are equal before byte depth. Keys start where the cells
    // begin to differ, as a sample suggests; when the sample was wrong, the pass that found it
    // out also found where they do differ.
    void sortText(Entries entries, std::size_t depth, unsigned threads) {
        const std::string_view first = cellOf(entries.front()).substr(depth);
        std::size_t keyDepth = depth + sampledShared(entries, first, depth);
        const Fill fill = fillText(entries, first, depth, keyDepth, threads);
        if (fill.shared == first.size() && fill.sameSize) return;  // equal cells keep their order
        if (depth + fill.shared < keyDepth) {
            keyDepth = depth + fill.shared;
            fillText(entries, first, depth, keyDepth, threads);
        }
        sortEntries(entries, threads);
        sortTies(entries, keyDepth + kKeyBytes, threads);
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

// The rows themselves in the keys of the sorted entries, so that applying the order is a copy.
void gatherRows(Entries entries, std::span<const std::uint64_t> rows, unsigned threads) {
    inParts(entries.size(), threads, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (Entry& entry : entries.subspan(begin, end - begin)) entry.setKey(rows[entry.row]);
    });
}

}  // namespace

RowOrder::RowOrder() = default;
RowOrder::RowOrder(RowOrder&&) noexcept = default;
RowOrder& RowOrder::operator=(RowOrder&&) noexcept = default;
RowOrder::~RowOrder() = default;
RowOrder::RowOrder(std::unique_ptr<Entry[]> entries, std::size_t count)
    : entries_(std::move(entries)), count_(count) {}

void RowOrder::applyTo(std::span<std::uint64_t> rows) const {
    if (rows.size() != count_ || !entries_) return;
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = entries_[i].key();
}

RowOrder SortedOrder(std::span<const std::uint64_t> rows, const SortCells& cells, CellOrder order,
                     bool descending) {
    if (rows.size() < 2) return {};
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    auto entries = std::make_unique_for_overwrite<Entry[]>(rows.size());
    const Entries all(entries.get(), rows.size());
    // On every thread: this first touch of the entries is where their pages come from.
    inParts(rows.size(), threads, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t row = begin; row < end; ++row)
            all[row].row = static_cast<std::uint32_t>(row);
    });
    Sorter(all, rows, cells, descending).sort(order, threads);
    gatherRows(all, rows, threads);
    return RowOrder(std::move(entries), rows.size());
}

}  // namespace twk
