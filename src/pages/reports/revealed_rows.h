#pragma once

#include <QModelIndex>
#include <QTimer>
#include <algorithm>

namespace twk {

// A list or table model whose views learn of many new rows a slice at a time, one slice per turn
// of the event loop. A view lays out every row it is told of: a million new rows at once hold the
// window for a tenth of a second or more, a slice for a few milliseconds. The model holds all its
// rows at once; rowCount() answers shownRows().
template <typename Base>
class RevealedRows : public Base {
public:
    explicit RevealedRows(QObject* parent = nullptr) : Base(parent) {
        next_.setSingleShot(true);
        next_.setInterval(0);
        QObject::connect(&next_, &QTimer::timeout, this, [this] { revealSlice(); });
    }

protected:
    static constexpr int kSliceRows = 1 << 17;

    int shownRows() const { return shown_; }
    // Inside a reset: no row shown.
    void hideRows() {
        shown_ = held_ = 0;
        next_.stop();
    }
    // The model now holds held rows (at least those shown): the first slice shows at once, the
    // rest follows.
    void reveal(int held) {
        held_ = std::max(held, shown_);
        revealSlice();
    }

private:
    void revealSlice() {
        const int upTo = std::min(held_, shown_ + kSliceRows);
        if (upTo > shown_) {
            this->beginInsertRows({}, shown_, upTo - 1);
            shown_ = upTo;
            this->endInsertRows();
        }
        if (shown_ < held_) next_.start();
    }

    int shown_ = 0;
    int held_ = 0;
    QTimer next_;
};

}  // namespace twk
