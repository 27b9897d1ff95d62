#include "win32/services.h"

#include <windows.h>
// clang-format off
#include <commdlg.h>
#include <shlobj.h>
// clang-format on

#include <vector>

namespace twk::win32 {
namespace {

// The program's own window the user works in, if any.
HWND ownerWindow() {
    HWND active = ::GetActiveWindow();
    DWORD process = 0;
    if (active) ::GetWindowThreadProcessId(active, &process);
    return process == ::GetCurrentProcessId() ? active : nullptr;
}

UINT iconStyle(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Error:
            return MB_ICONERROR;
        case MsgIcon::Information:
            return MB_ICONINFORMATION;
        case MsgIcon::Question:
            return MB_ICONQUESTION;
    }
    return 0;
}

// The picker answers a folder with a trailing backslash on some systems; only a drive root
// keeps it.
std::string withoutTrailingBackslash(std::string folder) {
    const bool driveRoot = folder.size() == 3 && folder[1] == ':';
    if (!driveRoot && folder.size() > 1 && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

MsgAnswer Win32MessageBoxes::show(const std::string& text, const std::string& title, MsgIcon icon,
                                  MsgButtons buttons) {
    const UINT style = iconStyle(icon) | (buttons == MsgButtons::OkCancel ? MB_OKCANCEL : MB_OK) |
                       MB_SETFOREGROUND;
    return ::MessageBoxA(ownerWindow(), text.c_str(), title.c_str(), style) == IDOK
               ? MsgAnswer::Ok
               : MsgAnswer::Cancel;
}

std::string Win32SaveFileDialog::askSaveFile(const std::string& filterName,
                                             const std::string& pattern,
                                             const std::string& startFolder) {
    // Name NUL pattern NUL NUL.
    std::string filter = filterName;
    filter.push_back('\0');
    filter += pattern;
    filter.append(2, '\0');
    std::vector<char> file(MAX_PATH, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ownerWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    // The overwrite question is the program's own.
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameA(&dialog)) return {};
    return file.data();
}

std::string Win32FolderPicker::browseFolder(const std::string& title) {
    BROWSEINFOA browse{};
    browse.hwndOwner = ownerWindow();
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&browse);
    if (!chosen) return {};
    char path[MAX_PATH] = {};
    const bool ok = ::SHGetPathFromIDListA(chosen, path) != FALSE;
    ::CoTaskMemFree(chosen);
    return ok ? withoutTrailingBackslash(path) : std::string();
}

void Win32UrlOpener::openUrl(const std::string& url) {
    if (!isOpenableAddress(url)) return;
    ::ShellExecuteA(ownerWindow(), "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace twk::win32
