#pragma once

#include <QAbstractListModel>

#include "core/i18n/lang_op.h"
#include "core/reports/date_list.h"
#include "pages/reports/revealed_rows.h"

namespace twk {

// The date chooser's entries as Qt sees them: a view onto the core DateList, no item per entry,
// the view learning of new ones a slice at a time.
class DateListModel : public RevealedRows<QAbstractListModel> {
    Q_OBJECT
public:
    // The first entry shows as captions' "All dates" as they are when drawn.
    DateListModel(const LangOp& captions, QObject* parent)
        : RevealedRows(parent), captions_(captions) {}

    const DateList& dates() const { return dates_; }

    // Back to "All dates" alone.
    void reset();
    // Shows dates in place of dates(), which they grew from: the new entries are added.
    void grow(DateList dates);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    DateList dates_;
    const LangOp& captions_;
};

}  // namespace twk
