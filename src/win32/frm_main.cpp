#include "win32/frm_main.h"

#include "core/app/app_context.h"
#include "core/design/main_design.h"
#include "platform/reasons.h"
#include "win32/navigator.h"
#include "win32/skin.h"

namespace twk::win32 {
namespace {

namespace main_window = design::main_window;

// The mutex that tells a second start in this session that Tarnwick already runs; the system
// frees it with the process, so a crashed instance leaves nothing stuck.
constexpr const char* kInstanceMutex = "Local\\Brindle.Tarnwick.Instance";
// Marks the main window, so that a second start finds it among the session's windows.
constexpr const char* kMainWindowMark = "Brindle.Tarnwick.Main";
constexpr UINT kFirstMenuItem = 100;

UINT showRequestMessage() {
    static const UINT message = ::RegisterWindowMessageA("Brindle.Tarnwick.ShowMain");
    return message;
}

BOOL CALLBACK askToShow(HWND window, LPARAM) {
    if (::GetPropA(window, kMainWindowMark)) ::PostMessageA(window, showRequestMessage(), 0, 0);
    return TRUE;
}

UINT menuItemId(size_t index) { return kFirstMenuItem + static_cast<UINT>(index); }

}  // namespace

frmMain::frmMain(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, main_window::kPage), navigator_(navigator) {
    trayPicture_ = skinIcon("app_icon", ::GetSystemMetrics(SM_CXSMICON));
    buildMenu();
    wireButtons();
    onClose = [this] { hideToTray(); };
}

frmMain::~frmMain() {
    if (mnuMenu_) ::DestroyMenu(mnuMenu_);
    if (trayPicture_) ::DestroyIcon(trayPicture_);
    if (instanceMutex_) ::CloseHandle(instanceMutex_);
}

void frmMain::wireButtons() {
    for (const design::ButtonAction& entry : main_window::kActions) {
        const design::Action action = entry.action;
        button(entry.control).onClick = [this, action] { navigator_.run(action); };
    }
}

void frmMain::buildMenu() {
    mnuMenu_ = ::CreatePopupMenu();
    for (size_t i = 0; i < std::size(main_window::kTrayMenu); ++i) {
        const design::MenuItem& item = main_window::kTrayMenu[i];
        if (item.isSeparator()) {
            ::AppendMenuA(mnuMenu_, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuA(mnuMenu_, MF_STRING, menuItemId(i), menuCaption(item).c_str());
        }
    }
}

// A new language reaches the menu when the main window loads again.
void frmMain::showMenuCaptions() {
    for (size_t i = 0; i < std::size(main_window::kTrayMenu); ++i) {
        const design::MenuItem& item = main_window::kTrayMenu[i];
        if (item.isSeparator()) continue;
        ::ModifyMenuA(mnuMenu_, menuItemId(i), MF_BYCOMMAND | MF_STRING, menuItemId(i),
                      menuCaption(item).c_str());
    }
}

const std::string& frmMain::menuCaption(const design::MenuItem& item) const {
    return context().langOp.*item.caption;
}

bool frmMain::Form_Load() {
    if (!instanceMutex_) {
        instanceMutex_ = ::CreateMutexA(nullptr, FALSE, kInstanceMutex);
        if (instanceMutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS) {
            ::EnumWindows(askToShow, 0);
            return false;
        }
        ::SetPropA(hwnd(), kMainWindowMark, reinterpret_cast<HANDLE>(1));
    }
    cTray_ = std::make_unique<TrayIcon>();
    cTray_->hwnd = hwnd();
    cTray_->Icon = trayPicture_;
    cTray_->ToolTipText = main_window::kTrayTip;
    cTray_->OnIcon = [this](std::int16_t code) { onTrayCode(code); };
    cTray_->OnBalloonClick = [this] { onBalloonClick(); };
    cTray_->Add();
    applyCaptions();
    showMenuCaptions();
    if (onLoaded) onLoaded();
    return true;
}

void frmMain::showNotice(const ReportNotice& notice) {
    if (!cTray_) return;
    balloon_ = notice;
    cTray_->ShowBalloon(notice.title, notice.body);
    // The shell shows one balloon at a time and may hold them back altogether: what each told
    // stays in the debugger output.
    platform::writeSystemLog("tarnwick.notices", notice.title + ": " + notice.body);
}

void frmMain::onBalloonClick() {
    if (balloon_ && onNoticeClick) onNoticeClick(balloon_->view, balloon_->date);
}

void frmMain::hideToTray() {
    if (cTray_) cTray_->Add();
    hide();
}

void frmMain::exitProgram() {
    if (cTray_) cTray_->Delete();
    navigator_.endProcess();
}

void frmMain::onTrayCode(std::int16_t code) {
    switch (main_window::trayReply(code)) {
        case main_window::TrayReply::ShowMain:
            navigator_.showMain();
            return;
        case main_window::TrayReply::ShowMenu:
            for (size_t i = 0; i < std::size(main_window::kTrayMenu); ++i)
                if (main_window::kTrayMenu[i].isDefault)
                    cTray_->CallPopupMenu(hwnd(), mnuMenu_, 0, std::nullopt, menuItemId(i));
            return;
        case main_window::TrayReply::Nothing:
            return;
    }
}

LRESULT frmMain::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage) {
        if (cTray_) cTray_->CallEvent(lParam);
        return 0;
    }
    if (message == showRequestMessage()) {
        navigator_.showMain();
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        const UINT id = LOWORD(wParam);
        if (id >= kFirstMenuItem && id < menuItemId(std::size(main_window::kTrayMenu))) {
            navigator_.run(main_window::kTrayMenu[id - kFirstMenuItem].action);
            return 0;
        }
    }
    return SkinnedPage::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
