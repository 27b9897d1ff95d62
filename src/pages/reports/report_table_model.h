#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <string>

#include "core/reports/report_table.h"

namespace twk {

// The report table as Qt sees it: a view onto the core ReportTable, no item per cell, so a
// million rows cost the table's own memory and nothing more.
class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // rowIcon is the picture every row shows in its first column.
    ReportTableModel(QIcon rowIcon, QObject* parent = nullptr);

    const ReportTable& table() const { return table_; }

    // Shows table in place of the rows shown so far, and gives those back.
    ReportTable install(ReportTable table);

    // A click on a column heading: sorts by it, or reverses the sort when it is already the
    // sorting column.
    void sortByColumn(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ReportTable table_;
    QIcon rowIcon_;
};

}  // namespace twk
