#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/i18n/lang_op.h"
#include "core/reports/report_record.h"
#include "core/reports/report_search.h"
#include "core/reports/report_sort.h"

namespace twk {

// One column of the report table: the line field it shows and its heading's caption.
struct ReportColumn {
    std::size_t field;
    std::string LangOp::*caption;
};

// The table's columns for a kind, in display order.
std::span<const ReportColumn> ReportColumns(ReportKind kind);

// How much of a cell the table shows. A broken report may hold a line of any length, and a
// cell of megabytes would make every repaint of the table take seconds; the export still
// writes the whole cell.
inline constexpr std::size_t kShownCellBytes = 1024;
// The part of cell the table shows: all of it, or its first kShownCellBytes bytes, never
// ending inside a UTF-8 sequence.
std::string_view ShownCell(std::string_view cell);

// The cells of one row in column order; places beyond the column count stay empty.
using RowCells = std::array<std::string_view, kMaxFieldCount>;

// The report table as the report page shows it, without any widget: columns of one kind and
// rows in the order shown. Loaders append to it; a Qt model reads it through columnCount,
// heading, rowCount and cell.
//
// It keeps the bytes of each report file once and each row is just the position of its line
// in them, so a million rows cost little beyond the files themselves. Cells are views into
// those bytes: they stay valid until the table is cleared.
class ReportTable {
public:
    // Removes all columns, rows and kept file bytes, and forgets the sort and the search.
    void clear();
    // Clears the table as clear() does but hands over the memory of its file bytes, and keeps
    // that of its rows, for a load to read into.
    std::vector<std::string> releaseFiles();

    // Columns of kind, set only while the table has none (the first loader of a refresh).
    void setColumns(ReportKind kind);
    bool hasColumns() const { return kind_.has_value(); }
    std::optional<ReportKind> kind() const { return kind_; }
    std::size_t columnCount() const;
    // The heading in English, or as the page shows it, from captions.
    std::string_view heading(std::size_t column) const;
    std::string_view heading(std::size_t column, const LangOp& captions) const;

    std::size_t rowCount() const { return rows_.size(); }
    // What a row may cost at most beside its bytes: its position, the loader's list of lines
    // to show and the pair a sort makes of it.
    static constexpr std::size_t kRowBytes = 32;
    // The memory the kept bytes and the rows take, counting kRowBytes per row.
    std::uint64_t memoryUse() const { return end_ + rows_.size() * kRowBytes; }
    // Empty for a column beyond the columns; row must be below rowCount.
    std::string_view cell(std::size_t row, std::size_t column) const;
    RowCells rowCells(std::size_t row) const;

    // Takes the bytes of one report file and appends a row for each line starting at one of
    // lineStarts (ascending offsets into bytes). A line runs to its LF or the end of bytes; a
    // CR before that end is not part of it. Bytes without rows are not kept. The new rows go
    // after the shown ones whatever the sort; while a search narrows the rows, only those it
    // finds are shown.
    void appendFile(std::string bytes, const std::vector<std::size_t>& lineStarts);

    // The rows shown (rowCount, cell, the export) can be narrowed to those with a cell that
    // holds a text (RowSearch), in the order they had. The rows a search leaves out are kept,
    // and sorted with the shown ones, so that an emptied search shows every row again.
    const RowSearch& search() const { return search_; }
    std::size_t allRowCount() const { return searching() ? allRows_.size() : rows_.size(); }

    // A search worked out without changing the table, so that other threads may read the
    // table meanwhile; applySearch puts it in place.
    struct PendingSearch {
        RowSearch search;
        std::vector<std::uint64_t> rows;  // the rows shown once applied
        std::uint64_t version = 0;        // the table's version it was worked out from
        bool complete = false;            // false when stopped before its end
    };
    // The rows that search finds, looking only among those shown when it narrows the search in
    // place. Uses every core for large tables; stops early once stop is set.
    PendingSearch searchedBy(RowSearch search, const std::atomic<bool>* stop = nullptr) const;
    // Shows the rows of a complete search worked out from this table as it is; false (nothing
    // changed) for a search that was stopped or made before the table last changed.
    bool applySearch(PendingSearch search);
    // Searches at once, as searchedBy and applySearch do.
    void searchFor(RowSearch search) { applySearch(searchedBy(std::move(search))); }

    // Sorts the rows by the text of a column in byte order, the Time column by the moments
    // its cells name, with the cells that name none after them in either direction; rows that
    // tie keep their order. Sorting by the column the rows are sorted by reverses the direction.
    void sortByColumn(std::size_t column) { applySort(sortedBy(column)); }
    void sortByColumn(std::size_t column, bool descending) {
        applySort(sortedBy(column, descending));
    }

    // The sort sortByColumn would make, worked out without changing the table, so that other
    // threads may read the table meanwhile (a page goes on painting it).
    struct PendingSort {
        std::size_t column = 0;
        bool descending = false;
        RowOrder order;
        RowOrder allOrder;  // of every row, while a search leaves some out
    };
    PendingSort sortedBy(std::size_t column) const;
    PendingSort sortedBy(std::size_t column, bool descending) const;
    // Puts a pending sort of this table in place; the table must not have changed since.
    void applySort(PendingSort sort);
    // Shows the rows in the order they were read again.
    void showReadingOrder();
    std::optional<std::size_t> sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return descending_; }

private:
    // A row is the position of its line: the index of its file in the bits above
    // kOffsetBits and the line's offset in the file below them. Reading order is therefore
    // ascending position, and a row needs no separate file reference.
    using Position = std::uint64_t;
    static constexpr unsigned kOffsetBits = 40;
    class ColumnCells;

    std::string_view cellAt(Position position, std::size_t column) const;
    bool searching() const { return !search_.empty(); }
    bool shows(Position position, const RowSearch& search) const;
    void changed() { ++version_; }
    std::string_view fileOf(Position position) const { return files_[position >> kOffsetBits]; }
    static std::size_t offsetOf(Position position) {
        return position & ((Position{1} << kOffsetBits) - 1);
    }

    std::optional<ReportKind> kind_;
    std::deque<std::string> files_;  // a deque keeps the bytes in place as files are added
    std::uint64_t end_ = 0;          // bytes kept
    std::vector<Position> rows_;     // the rows shown
    RowSearch search_;
    std::vector<Position> allRows_;  // every row, while a search narrows those shown
    std::uint64_t version_ = 0;      // goes up with every change of the rows
    std::optional<std::size_t> sortColumn_;
    bool descending_ = false;
};

}  // namespace twk
