#pragma once

#include <memory>

#include "pages/app/single_instance.h"
#include "pages/app/skinned_page.h"

class QMenu;

namespace twk {

class Navigator;
class TrayBackend;
class TrayIcon;

// The hub: three captioned page buttons, information, home page and close, the tray icon and its
// menu.
class frmMain : public SkinnedPage {
    Q_OBJECT
public:
    frmMain(AppContext& context, Navigator& navigator, TrayBackend& tray);
    ~frmMain() override;

    // The load sequence: single-instance test, tray icon, captions. False when another instance
    // runs (it has been asked to show its main window) and this one must end. Safe to run again
    // after the options were saved.
    bool Form_Load();

    // Puts the caption table's texts on the three page buttons.
    void applyCaptions();

    TrayIcon& cTray() const { return *cTray_; }
    QMenu* mnuMenu() const { return mnuMenu_; }

    // Hides the window to the tray; ends the program where there is no tray.
    void hideToTray();
    // Removes the tray icon and ends the program.
    void exitProgram();

signals:
    // The load sequence has run through: at start and after the options were saved.
    void loaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void onTrayCode(qint16 code);

    Navigator& navigator_;
    TrayBackend& tray_;
    std::unique_ptr<TrayIcon> cTray_;
    SingleInstance instance_;
    QMenu* mnuMenu_ = nullptr;
};

}  // namespace twk
