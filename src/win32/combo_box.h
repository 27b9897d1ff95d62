#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32/controls.h"

namespace twk::win32 {

// A system combo box in the skin's colours: a drop-down list, or an editable one whose text may
// name no item.
class ComboBox : public Control {
public:
    enum class Entry { ListOnly, Editable };
    ComboBox(SkinnedPage& page, const design::Control& design, Entry entry);

    void setItems(const std::vector<std::string>& items);
    // Appends the items after the first count() ones: the rest of a list that only grows.
    void appendFrom(const std::vector<std::string>& items);
    int count() const;
    void select(int index);
    // The item the text names (the selected one, else the first that equals the text exactly),
    // or -1 for a text that names none.
    int selectedIndex() const;
    void setValue(const std::string& text);
    void setEnabled(bool enabled);
    void place() override;

    // The user picked an item.
    std::function<void()> onSelect;
    // The text changed, whether typed or picked.
    std::function<void()> onChange;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string itemText(int index) const;
    void picked();

    bool picking_ = false;
};

}  // namespace twk::win32
