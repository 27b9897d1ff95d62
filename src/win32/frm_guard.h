#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/design/design.h"
#include "core/protection/guard_page.h"
#include "win32/page.h"

namespace twk::win32 {

class Navigator;

// The protection page: the protection switch and the removable drives, five rows at a time. The
// steps live in core/protection; this page draws them on its controls.
class frmGuard : public SkinnedPage, public GuardPage {
public:
    frmGuard(AppContext& context, Navigator& navigator, std::unique_ptr<DriveSource> drives);
    ~frmGuard() override;

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
    void ApplyCaptions() override;
    void showSwitch(CheckPicture picture) override;
    void colourSwitchCaption(ColorRef colour) override;
    // Shows the message at once while the page is up, else once it has come up.
    void tellWhenShown(const std::string& message) override;

    void makeRows();
    void showDrivePicture(int picture) override;
    void renderRows() override;

    // A volume that came or went: the list is read again a moment later, once for a burst.
    void volumesChanged(WPARAM event, LPARAM details);
    bool startDriveChangeWait() override;

    Navigator& navigator_;
    // The designs of the rows, which their controls refer to for as long as they live.
    std::array<std::array<design::Control, 3>, DrivePanel::kVisibleRows> rowDesigns_{};
    std::array<Row, DrivePanel::kVisibleRows> rows_{};
    std::string pendingError_;
};

}  // namespace twk::win32
