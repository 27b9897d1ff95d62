#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
// clang-format off
#include <commctrl.h>
// clang-format on

#include "win32/controls.h"

namespace twk::win32 {

// What a list view shows: columns with headings and rows of cells, read on demand.
class ListModel {
public:
    virtual std::size_t columnCount() const = 0;
    virtual std::string_view heading(std::size_t column) const = 0;
    virtual std::size_t rowCount() const = 0;
    virtual std::string_view cell(std::size_t row, std::size_t column) const = 0;

protected:
    ~ListModel() = default;
};

// A report list view that holds no item of its own (LVS_OWNERDATA): it asks its model for the
// cells it paints, so a million rows open as fast as ten. Every row shows the same small icon.
class ListView : public Control {
public:
    ListView(SkinnedPage& page, const design::Control& design, const std::string& rowIcon);
    ~ListView() override;

    void setModel(const ListModel* model) { model_ = model; }
    // Takes the model's columns and row count again and repaints, scrolled back to the top left.
    void reset();
    // Repaints the rows after the model reordered them; the columns stay as they are.
    void refreshRows();
    // The arrow in the heading of the sorting column.
    void showSortMark(int column, bool descending);
    // Columns as wide as their widest visible cell or heading, up to a limit.
    void fitColumns();

    // While the model changes on another thread the view paints nothing from it.
    void freeze();
    void thaw();

    // A click on a column heading.
    std::function<void(int column)> onHeadingClick;

    void place() override;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void setColumns();
    void fillCell(UINT mask, int row, int column, char* text, int room, int& image) const;
    LRESULT onNotify(const NMHDR& header);

    const ListModel* model_ = nullptr;
    HIMAGELIST icons_ = nullptr;
    int columns_ = 0;
    bool frozen_ = false;
};

}  // namespace twk::win32
