#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/design/design.h"
#include "core/protection/drive_panel.h"
#include "core/protection/guard_switch.h"
#include "win32/page.h"

namespace twk::win32 {

class Navigator;

// The protection page: the protection switch and the removable drives, five rows at a time.
class frmGuard : public SkinnedPage {
public:
    frmGuard(AppContext& context, Navigator& navigator, std::unique_ptr<DriveSource> drives);
    ~frmGuard() override;

    void guard_switch();
    void guard_hover(bool over);
    void show_drives();

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onSurfaceMouseMove() override;

private:
    // A drive row: its picture, root and name, rows 1 to 4 copies of the design's row 0.
    struct Row {
        Picture* picture = nullptr;
        Label* root = nullptr;
        Label* name = nullptr;
    };
    GuardSwitch::Draw drawSwitch();
    // After the switch's save: a refused one is told; the drive rows are rebuilt.
    void showSaved(bool saved);
    void makeRows();
    void renderRows();
    void showLater(const std::string& message);
    // A volume that came or went: the list is read again a moment later, once for a burst.
    void volumesChanged(WPARAM event, LPARAM details);
    void followDrives();

    Navigator& navigator_;
    std::unique_ptr<DriveSource> drives_;
    std::unique_ptr<DrivePanel> panel_;
    GuardSwitch guard_;
    // The designs of the rows, which their controls refer to for as long as they live.
    std::array<std::array<design::Control, 3>, DrivePanel::kVisibleRows> rowDesigns_{};
    std::array<Row, DrivePanel::kVisibleRows> rows_{};
    std::string pendingError_;
    bool drivesChangePending_ = false;
};

}  // namespace twk::win32
