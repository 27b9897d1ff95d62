#pragma once

#include <array>
#include <functional>
#include <string>

#include "win32/controls.h"

namespace twk::win32 {

// An entry box masked as "##:##": four digit places around a fixed colon, "_" where no digit
// stands. Its value is the digits alone ("2359" for 23:59, "123" for 12:3_); every edit goes
// through rule, which may change the value.
class TimeBox : public EntryBox {
public:
    using Rule = std::function<std::string(const std::string& value)>;
    TimeBox(SkinnedPage& page, const design::Control& design, Rule rule);

    std::string timeValue() const;
    void setTimeValue(const std::string& digits);

    // The value changed through the keyboard, the clipboard or setTimeValue.
    std::function<void()> onChange;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void typeDigit(char digit);
    void erase(bool before);
    void show(int caret);
    int caret() const;
    void applyRule();

    Rule rule_;
    std::array<char, 4> digits_{};  // 0 where no digit stands
};

}  // namespace twk::win32
