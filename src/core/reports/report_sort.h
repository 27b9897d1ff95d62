#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace twk {

// The cell a row reference stands for. Called from several threads at once.
class SortCells {
public:
    virtual std::string_view cell(std::uint64_t row) const = 0;
    // A hint that cell(row) follows soon, so that its bytes can be on their way to the cache.
    virtual void prefetch(std::uint64_t row) const = 0;

protected:
    ~SortCells() = default;
};

// How SortRows compares cells.
enum class CellOrder {
    Bytes,   // byte order
    Moments  // cells that name a moment (MomentOfTime) by it, then the others in byte order;
             // those others come last in either direction
};

// A new order of rows, worked out by SortedOrder and put in place by applyTo. Working it out
// only reads the rows, so another thread may read them meanwhile; applying it is one copy.
class RowOrder {
public:
    RowOrder();
    RowOrder(RowOrder&&) noexcept;
    RowOrder& operator=(RowOrder&&) noexcept;
    ~RowOrder();

    // Puts rows, unchanged since the order was worked out from them, in the new order; rows of
    // another count stay as they are.
    void applyTo(std::span<std::uint64_t> rows) const;

    struct Entry;

private:
    friend RowOrder SortedOrder(std::span<const std::uint64_t>, const SortCells&, CellOrder, bool);
    RowOrder(std::unique_ptr<Entry[]> entries, std::size_t count);

    std::unique_ptr<Entry[]> entries_;
    std::size_t count_ = 0;
};

// The order of rows (at most 2^32 - 1) by their cells, ascending or descending; rows with equal
// cells keep their order. Uses every core for large tables and 12 bytes a row.
RowOrder SortedOrder(std::span<const std::uint64_t> rows, const SortCells& cells, CellOrder order,
                     bool descending);

}  // namespace twk
