#include "pages/reports/date_list_model.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace twk {
namespace {

int rowsOf(const DateList& dates) {
    return static_cast<int>(std::min<std::size_t>(dates.size(), INT_MAX));
}

}  // namespace

void DateListModel::reset() {
    beginResetModel();
    dates_.reset();
    hideRows();
    endResetModel();
    reveal(rowsOf(dates_));
}

void DateListModel::grow(DateList dates) {
    std::swap(dates_, dates);
    reveal(rowsOf(dates_));
}

int DateListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows();
}

QVariant DateListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const std::string_view date =
        dates_.shownEntry(static_cast<std::size_t>(index.row()), captions_.lfr_alldates);
    return QString::fromLocal8Bit(date.data(), static_cast<qsizetype>(date.size()));
}

}  // namespace twk
