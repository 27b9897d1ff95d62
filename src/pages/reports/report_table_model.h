#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <string>

#include "core/reports/report_table.h"
#include "pages/reports/revealed_rows.h"

namespace twk {

// The report table as Qt sees it: a view onto the core ReportTable, no item per cell, so a
// million rows cost the table's own memory and nothing more; the view learns of them a slice at
// a time.
class ReportTableModel : public RevealedRows<QAbstractTableModel> {
    Q_OBJECT
public:
    // rowIcon is the picture every row shows in its first column; the headings come from
    // captions as they are when drawn.
    ReportTableModel(QIcon rowIcon, const LangOp& captions, QObject* parent = nullptr);

    const ReportTable& table() const { return table_; }

    // Shows table in place of the rows shown so far, and gives those back.
    ReportTable install(ReportTable table);

    // Shows the rows in the order of a sort worked out from table(); rows still to be revealed
    // follow in that order.
    void applySort(ReportTable::PendingSort sort);
    // Shows the rows a search worked out from table() found.
    void applySearch(ReportTable::PendingSearch search);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int heldRows() const;

    ReportTable table_;
    QIcon rowIcon_;
    const LangOp& captions_;
};

}  // namespace twk
