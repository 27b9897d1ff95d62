#include "core/reports/report_table.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <thread>
#include <utility>

namespace twk {
namespace {

constexpr std::array<ReportColumn, kVirusFieldCount> kVirusColumns{{
    {0, &LangOp::lfr_col_pc},
    {1, &LangOp::lfr_col_user},
    {2, &LangOp::lfr_col_time},
    {3, &LangOp::lfr_col_action},
    {4, &LangOp::lfr_col_source},
    {5, &LangOp::lfr_col_dest},
    {6, &LangOp::lfr_col_device},
}};

// The table orders device fields differently from the file.
constexpr std::array<ReportColumn, kDeviceFieldCount> kDeviceColumns{{
    {0, &LangOp::lfr_col_pc},
    {1, &LangOp::lfr_col_user},
    {2, &LangOp::lfr_col_time},
    {3, &LangOp::lfr_col_action},
    {4, &LangOp::lfr_col_name},
    {6, &LangOp::lfr_col_desc},
    {5, &LangOp::lfr_col_path},
    {10, &LangOp::lfr_col_manuf},
    {7, &LangOp::lfr_col_service},
    {8, &LangOp::lfr_col_enum},
    {9, &LangOp::lfr_col_hwid},
    {11, &LangOp::lfr_col_serial},
}};

}  // namespace

std::span<const ReportColumn> ReportColumns(ReportKind kind) {
    if (kind == ReportKind::Devices) return kDeviceColumns;
    return kVirusColumns;
}

std::string_view ShownCell(std::string_view cell) {
    if (cell.size() <= kShownCellBytes) return cell;
    std::size_t end = kShownCellBytes;
    while (end > 0 && (static_cast<unsigned char>(cell[end]) & 0xC0) == 0x80) --end;
    return cell.substr(0, end);
}

void ReportTable::clear() {
    releaseFiles();
    rows_ = {};
}

std::vector<std::string> ReportTable::releaseFiles() {
    std::vector<std::string> released(std::make_move_iterator(files_.begin()),
                                      std::make_move_iterator(files_.end()));
    kind_.reset();
    files_.clear();
    end_ = 0;
    rows_.clear();
    search_ = {};
    allRows_ = {};
    changed();
    sortColumn_.reset();
    descending_ = false;
    return released;
}

void ReportTable::setColumns(ReportKind kind) {
    if (!kind_) kind_ = kind;
}

std::size_t ReportTable::columnCount() const { return kind_ ? ReportColumns(*kind_).size() : 0; }

std::string_view ReportTable::heading(std::size_t column) const {
    static const LangOp english;
    return heading(column, english);
}

std::string_view ReportTable::heading(std::size_t column, const LangOp& captions) const {
    if (column >= columnCount()) return {};
    return captions.*ReportColumns(*kind_)[column].caption;
}

std::string_view ReportTable::cell(std::size_t row, std::size_t column) const {
    return cellAt(rows_[row], column);
}

RowCells ReportTable::rowCells(std::size_t row) const {
    RowCells cells{};
    if (!kind_) return cells;
    const Position position = rows_[row];
    const LineFields fields =
        SplitReportLine(LineAt(fileOf(position), offsetOf(position)), FieldCount(*kind_));
    const auto columns = ReportColumns(*kind_);
    for (std::size_t column = 0; column < columns.size(); ++column)
        cells[column] = fields[columns[column].field];
    return cells;
}

void ReportTable::appendFile(std::string bytes, const std::vector<std::size_t>& lineStarts) {
    if (lineStarts.empty() || bytes.empty()) return;
    const Position file = Position{files_.size()} << kOffsetBits;
    end_ += bytes.size();
    files_.push_back(std::move(bytes));
    changed();
    if (!searching()) {
        for (std::size_t start : lineStarts) rows_.push_back(file | start);
        return;
    }
    for (std::size_t start : lineStarts) {
        allRows_.push_back(file | start);
        if (shows(file | start, search_)) rows_.push_back(file | start);
    }
}

bool ReportTable::shows(Position position, const RowSearch& search) const {
    return search.foundInLine(LineAt(fileOf(position), offsetOf(position)),
                              kind_ ? FieldCount(*kind_) : kMaxFieldCount);
}

ReportTable::PendingSearch ReportTable::searchedBy(RowSearch search,
                                                   const std::atomic<bool>* stop) const {
    PendingSearch pending{std::move(search), {}, version_, true};
    const bool inShown = !searching() || pending.search.narrows(search_);
    const std::vector<Position>& from = inShown ? rows_ : allRows_;
    if (pending.search.empty() || !kind_) {
        pending.rows = from;
        return pending;
    }
    // Each part looks at its rows in slices, so that a stop is seen within a few milliseconds.
    constexpr std::size_t kSliceRows = 4096;
    constexpr std::size_t kParallelRows = 1 << 15;
    const std::size_t parts =
        from.size() < kParallelRows ? 1 : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::vector<Position>> found(parts);
    std::vector<char> stopped(parts, 0);
    const auto searchPart = [&](std::size_t part) {
        const std::size_t begin = part * from.size() / parts,
                          end = (part + 1) * from.size() / parts;
        for (std::size_t slice = begin; slice < end; slice += kSliceRows) {
            if (stop && stop->load(std::memory_order_relaxed)) {
                stopped[part] = 1;
                return;
            }
            for (std::size_t row = slice; row < std::min(end, slice + kSliceRows); ++row)
                if (shows(from[row], pending.search)) found[part].push_back(from[row]);
        }
    };
    {
        std::vector<std::jthread> others;
        for (std::size_t part = 1; part < parts; ++part) others.emplace_back(searchPart, part);
        searchPart(0);
    }
    pending.complete = std::find(stopped.begin(), stopped.end(), 1) == stopped.end();
    for (const auto& rows : found)
        pending.rows.insert(pending.rows.end(), rows.begin(), rows.end());
    return pending;
}

bool ReportTable::applySearch(PendingSearch search) {
    if (!search.complete || search.version != version_) return false;
    if (search.search.empty()) {
        if (searching()) rows_ = std::move(allRows_);
        allRows_ = {};
    } else {
        if (!searching()) allRows_ = std::move(rows_);
        rows_ = std::move(search.rows);
    }
    search_ = std::move(search.search);
    changed();
    return true;
}

class ReportTable::ColumnCells final : public SortCells {
public:
    ColumnCells(const ReportTable& table, std::size_t column) : table_(table), column_(column) {}
    std::string_view cell(std::uint64_t position) const override {
        return table_.cellAt(position, column_);
    }
    void prefetch(std::uint64_t position) const override {
        // A line's first fields usually span two cache lines.
        const char* line = table_.fileOf(position).data() + offsetOf(position);
        __builtin_prefetch(line);
        __builtin_prefetch(line + 64);
    }

private:
    const ReportTable& table_;
    const std::size_t column_;
};

ReportTable::PendingSort ReportTable::sortedBy(std::size_t column) const {
    return sortedBy(column, sortColumn_ == column && !descending_);
}

ReportTable::PendingSort ReportTable::sortedBy(std::size_t column, bool descending) const {
    const bool timeColumn =
        column < columnCount() && ReportColumns(*kind_)[column].field == kTimeField;
    const CellOrder order = timeColumn ? CellOrder::Moments : CellOrder::Bytes;
    const ColumnCells cells(*this, column);
    // A stable sort of every row and of those shown keeps the shown ones in the same order
    // among all, so the search needs no second look.
    return {column, descending, SortedOrder(rows_, cells, order, descending),
            searching() ? SortedOrder(allRows_, cells, order, descending) : RowOrder()};
}

void ReportTable::applySort(PendingSort sort) {
    sort.order.applyTo(rows_);
    sort.allOrder.applyTo(allRows_);
    changed();
    sortColumn_ = sort.column;
    descending_ = sort.descending;
}

void ReportTable::showReadingOrder() {
    std::sort(rows_.begin(), rows_.end());
    std::sort(allRows_.begin(), allRows_.end());
    changed();
    sortColumn_.reset();
    descending_ = false;
}

std::string_view ReportTable::cellAt(Position position, std::size_t column) const {
    if (column >= columnCount()) return {};
    return FieldAt(fileOf(position), offsetOf(position), ReportColumns(*kind_)[column].field);
}

}  // namespace twk
