#pragma once

#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <vector>

#include "core/protection/drive_panel.h"
#include "core/protection/guard_switch.h"
#include "pages/app/skinned_page.h"

namespace twk {

class Navigator;

// The protection page: the protection switch and the removable drives, five rows at a time.
class frmGuard : public SkinnedPage {
    Q_OBJECT
public:
    frmGuard(AppContext& context, Navigator& navigator, std::unique_ptr<DriveSource> drives);
    ~frmGuard() override;

    // Flips the switch, stores every setting and rebuilds the drive rows.
    void guard_switch();
    // The switch's look for the pointer being over it or not.
    void guard_hover(bool over);
    // Rebuilds the drive list and the rows.
    void show_drives();

    const DrivePanel& panel() const { return *panel_; }

private:
    struct Row {
        SkinImage* picture;
        Caption* root;
        Caption* name;
    };

    GuardSwitch::Draw drawSwitch();
    // After the switch's save: a refused one is told; the drive rows are rebuilt.
    void showSaved(bool saved);
    QWidget* makeOwnControl(const design::Control& control) override;
    void wireScrollButtons();
    void wireSwitch();
    // While the page is open, drives mounted, unmounted or pulled out show within a second.
    void watchDrives();
    void drivesMayHaveChanged();
    void followDrives();
    void applyCaptions();
    void renderRows();
    int rootColumnWidth() const;
    void showRow(const Row& row, const DriveRow& content, bool noDevices, int rootWidth);

    Navigator& navigator_;
    std::unique_ptr<DriveSource> drives_;
    std::unique_ptr<DrivePanel> panel_;
    GuardSwitch guard_;
    std::unique_ptr<platform::DriveWatch> watch_;
    // Declared after the watch, so they stop listening before it closes its descriptors.
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
