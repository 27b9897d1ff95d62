#pragma once

#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "core/protection/guard_page.h"
#include "pages/app/skinned_page.h"

namespace twk {

class Navigator;

// The protection page: the protection switch and the removable drives, five rows at a time. The
// steps live in core/protection; this page draws them on its controls.
class frmGuard : public SkinnedPage, public GuardPage {
    Q_OBJECT
public:
    frmGuard(AppContext& context, Navigator& navigator, std::unique_ptr<DriveSource> drives);
    ~frmGuard() override;

private:
    struct Row {
        SkinImage* picture;
        Caption* root;
        Caption* name;
    };

    QWidget* makeOwnControl(const design::Control& control) override;
    void ApplyCaptions() override;
    void wireScrollButtons();
    void wireSwitch();
    void showSwitch(CheckPicture picture) override;
    void colourSwitchCaption(ColorRef colour) override;
    void tellWhenShown(const std::string& message) override;
    // While the page is open, drives mounted, unmounted or pulled out show within a second.
    void watchDrives();
    bool startDriveChangeWait() override;

    void showDrivePicture(int picture) override;
    void renderRows() override;
    int rootColumnWidth() const;
    void showRow(const Row& row, const DriveRow& content, bool noDevices, int rootWidth);

    Navigator& navigator_;
    // The page's, so they stop listening before the core's watch closes its descriptors.
    std::unique_ptr<QSocketNotifier> mountsChanged_;
    std::unique_ptr<QSocketNotifier> devicesChanged_;
    QTimer driveChangeSettle_;
    PictureButton* ch_guard_ = nullptr;
    Caption* txt_guard_ = nullptr;
    Caption* lblGuard_ = nullptr;
    PictureButton* btn_up_ = nullptr;
    PictureButton* btn_down_ = nullptr;
    Row row0_{};
    std::vector<Row> extraRows_;
};

}  // namespace twk
