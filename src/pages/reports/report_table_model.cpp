#include "pages/reports/report_table_model.h"

#include <algorithm>
#include <climits>

namespace twk {
namespace {

QString text(std::string_view bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

ReportTableModel::ReportTableModel(QIcon rowIcon, const LangOp& captions, QObject* parent)
    : RevealedRows(parent), rowIcon_(std::move(rowIcon)), captions_(captions) {}

ReportTable ReportTableModel::install(ReportTable table) {
    beginResetModel();
    std::swap(table_, table);
    hideRows();
    endResetModel();
    reveal(heldRows());
    return table;
}

int ReportTableModel::heldRows() const {
    // Qt counts rows in int; the export still writes every row of the table.
    return static_cast<int>(std::min<std::size_t>(table_.rowCount(), INT_MAX));
}

void ReportTableModel::applySort(ReportTable::PendingSort sort) {
    // A reset rather than a layout change: the core gives no row mapping to carry selections
    // over. The count of rows shown stays, which keeps the reset quick.
    beginResetModel();
    table_.applySort(std::move(sort));
    endResetModel();
}

void ReportTableModel::applySearch(ReportTable::PendingSearch search) {
    beginResetModel();
    table_.applySearch(std::move(search));
    hideRows();
    endResetModel();
    reveal(heldRows());
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows();
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.columnCount());
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const std::string_view cell = table_.cell(static_cast<std::size_t>(index.row()),
                                                  static_cast<std::size_t>(index.column()));
        const std::string_view shown = ShownCell(cell);
        return shown.size() == cell.size() ? text(cell) : text(shown) + QChar(0x2026);
    }
    if (role == Qt::DecorationRole && index.column() == 0) return rowIcon_;
    return {};
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return text(table_.heading(static_cast<std::size_t>(section), captions_));
}

}  // namespace twk
