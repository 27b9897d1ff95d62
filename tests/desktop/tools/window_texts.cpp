// Prints the text of every visible window on the desktop and of the windows inside it, one line
// each in UTF-8, as a screen reader reads them: asked of the window itself (WM_GETTEXT), so that
// windows of other programs answer too.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    const int length = static_cast<int>(text.size());
    std::string bytes(static_cast<std::size_t>(::WideCharToMultiByte(
                          CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr)),
                      '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

std::wstring textOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, 2000, &copied))
        return {};
    return std::wstring(text, copied);
}

void print(HWND window) {
    const std::wstring text = textOf(window);
    if (!text.empty()) std::printf("%s\n", utf8(text).c_str());
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
    if (::IsWindowVisible(child)) print(child);
    return TRUE;
}

BOOL CALLBACK printTopLevel(HWND window, LPARAM) {
    if (!::IsWindowVisible(window)) return TRUE;
    print(window);
    ::EnumChildWindows(window, printChild, 0);
    return TRUE;
}

}  // namespace

int main() {
    ::EnumWindows(printTopLevel, 0);
    return 0;
}
