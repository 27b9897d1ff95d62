#pragma once

#include <cstdint>
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
    Moments  // the moment each names, when every non-empty cell has the guard service's
             // date-time form (empty cells first); byte order otherwise
};

// Reorders rows (at most 2^32 - 1) by their cells, ascending or descending; rows with equal cells
// keep their order. Uses every core for large tables and, besides rows, 12 bytes a row.
void SortRows(std::span<std::uint64_t> rows, const SortCells& cells, CellOrder order,
              bool descending);

}  // namespace twk
