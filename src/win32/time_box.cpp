#include "win32/time_box.h"

#include <cctype>

namespace twk::win32 {
namespace {

constexpr char kPrompt = '_';
constexpr int kColon = 2;  // the colon's place in the shown text "HH:MM"
constexpr int kPlaces = 5;

// The digit place behind a caret position, skipping the colon; 4 past the end.
int placeAt(int caret) { return caret <= kColon ? caret : caret - 1; }
int caretOf(int place) { return place < kColon ? place : place + 1; }

}  // namespace

TimeBox::TimeBox(SkinnedPage& page, const design::Control& design, Rule rule)
    : EntryBox(page, design), rule_(std::move(rule)) {
    show(0);
}

std::string TimeBox::timeValue() const {
    std::string value;
    for (char digit : digits_)
        if (digit) value.push_back(digit);
    return value;
}

void TimeBox::setTimeValue(const std::string& digits) {
    digits_.fill(0);
    std::size_t place = 0;
    for (char each : digits)
        if (std::isdigit(static_cast<unsigned char>(each)) && place < digits_.size())
            digits_[place++] = each;
    show(caret());
    if (onChange) onChange();
}

int TimeBox::caret() const {
    DWORD start = 0;
    ::SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TimeBox::show(int caretAt) {
    std::string shown(kPlaces, ':');
    for (int place = 0; place < 4; ++place)
        shown[static_cast<std::size_t>(caretOf(place))] = digits_[place] ? digits_[place] : kPrompt;
    setText(shown);
    ::SendMessageA(hwnd(), EM_SETSEL, caretAt, caretAt);
}

void TimeBox::applyRule() {
    const std::string value = timeValue();
    const std::string ruled = rule_ ? rule_(value) : value;
    const int at = caret();
    if (ruled != value) {
        digits_.fill(0);
        for (std::size_t place = 0; place < ruled.size() && place < digits_.size(); ++place)
            digits_[place] = ruled[place];
    }
    show(at);
    if (onChange) onChange();
}

void TimeBox::typeDigit(char digit) {
    const int place = placeAt(caret());
    if (place >= 4) return;
    digits_[static_cast<std::size_t>(place)] = digit;
    show(caretOf(place + 1));
    applyRule();
}

void TimeBox::erase(bool before) {
    int place = placeAt(caret());
    if (before) {
        if (place == 0) return;
        --place;
    }
    if (place >= 4) return;
    digits_[static_cast<std::size_t>(place)] = 0;
    show(caretOf(place));
    applyRule();
}

LRESULT TimeBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            if (wParam >= '0' && wParam <= '9') typeDigit(static_cast<char>(wParam));
            if (wParam == VK_BACK) erase(true);
            // Every other character is refused, as the mask allows digits only.
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE) {
                erase(false);
                return 0;
            }
            break;
        case WM_PASTE: {
            if (!::OpenClipboard(hwnd())) return 0;
            std::string pasted;
            if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
                if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
                    pasted = text;
                    ::GlobalUnlock(data);
                }
            }
            ::CloseClipboard();
            for (char each : pasted)
                if (std::isdigit(static_cast<unsigned char>(each))) typeDigit(each);
            return 0;
        }
        case WM_CUT:
        case WM_CLEAR:
            return 0;
    }
    return EntryBox::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
