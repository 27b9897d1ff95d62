#include "pages/reports/report_table_model.h"

#include <algorithm>
#include <climits>

namespace twk {
namespace {

QString text(std::string_view bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

ReportTableModel::ReportTableModel(QIcon rowIcon, QObject* parent)
    : QAbstractTableModel(parent), rowIcon_(std::move(rowIcon)) {}

ReportTable ReportTableModel::install(ReportTable table) {
    beginResetModel();
    std::swap(table_, table);
    endResetModel();
    return table;
}

void ReportTableModel::sortByColumn(int column) {
    if (column < 0 || column >= columnCount()) return;
    // A reset rather than a layout change: the core gives no row mapping to carry selections
    // over, and a reset costs nothing per row.
    beginResetModel();
    table_.sortByColumn(static_cast<std::size_t>(column));
    endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    // Qt counts rows in int; the export still writes every row of the table.
    return static_cast<int>(std::min<std::size_t>(table_.rowCount(), INT_MAX));
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
    return text(table_.heading(static_cast<std::size_t>(section)));
}

}  // namespace twk
