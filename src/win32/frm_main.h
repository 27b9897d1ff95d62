#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/notify/report_notices.h"
#include "win32/page.h"
#include "win32/tray_icon.h"

namespace twk::win32 {

class Navigator;

// The hub: three captioned page buttons, information, home page and close, the tray icon and its
// menu.
class frmMain : public SkinnedPage {
public:
    frmMain(AppContext& context, Navigator& navigator);
    ~frmMain() override;

    // The load sequence: single-instance test, tray icon, captions. False when another instance
    // runs (it is asked to show itself) and this one must end. Safe to run again after the
    // options were saved.
    bool Form_Load();

    void hideToTray();
    void exitProgram();
    TrayIcon& cTray() const { return *cTray_; }

    // Shows notice as the tray icon's balloon; a click on the balloon runs onNoticeClick with
    // the notice's view and date.
    void showNotice(const ReportNotice& notice);
    std::function<void(ReportKind view, const std::string& date)> onNoticeClick;
    // Runs at the end of every load that keeps the program running.
    std::function<void()> onLoaded;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void buildMenu();
    void showMenuCaptions();
    const std::string& menuCaption(const design::MenuItem& item) const;
    void wireButtons();
    void onTrayCode(std::int16_t code);
    void onBalloonClick();

    Navigator& navigator_;
    std::unique_ptr<TrayIcon> cTray_;
    HMENU mnuMenu_ = nullptr;
    HICON trayPicture_ = nullptr;
    HANDLE instanceMutex_ = nullptr;
    // Where the balloon shown last leads.
    std::optional<ReportNotice> balloon_;
};

}  // namespace twk::win32
