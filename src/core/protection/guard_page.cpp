#include "core/protection/guard_page.h"

#include <utility>

#include "core/app/app_context.h"

namespace twk {
namespace {

// The drive pictures: usb_mini0 while protection is off, usb_mini1 while it is on.
constexpr int kUnprotectedDrive = 0;
constexpr int kProtectedDrive = 1;

}  // namespace

GuardPage::GuardPage(AppContext& app, std::unique_ptr<DriveSource> drives)
    : app_(app),
      drives_(std::move(drives)),
      panel_(*drives_, app.services.helper, app.langOp.lfg_notdevices),
      guard_(app.mainOp) {}

GuardPage::~GuardPage() = default;

void GuardPage::Form_Load() {
    if (guard_.storedOn()) showSaved(guard_.turnOnAsStored(drawSwitch()));
    ApplyCaptions();
    show_drives();
}

void GuardPage::guard_switch() { showSaved(guard_.click(drawSwitch())); }

GuardSwitch::Draw GuardPage::drawSwitch() {
    return [this](CheckPicture picture, bool highlightCaption) {
        showSwitch(picture);
        showDrivePicture(guard_.drivesProtected() ? kProtectedDrive : kUnprotectedDrive);
        if (highlightCaption) colourSwitchCaption(app_.HighlightColor);
    };
}

void GuardPage::showSaved(bool saved) {
    if (!saved) tellWhenShown(app_.langOp.lfg_notsaved);
    show_drives();
}

void GuardPage::guard_hover(bool over) {
    showSwitch(guard_.hoverPicture(over));
    colourSwitchCaption(over ? app_.HighlightColor : app_.NormalColor);
}

void GuardPage::show_drives() {
    panel_.show_drives();
    renderRows();
}

void GuardPage::scrollDown() {
    panel_.scrollDown();
    renderRows();
}

void GuardPage::scrollUp() {
    panel_.scrollUp();
    renderRows();
}

platform::DriveWatch* GuardPage::openDriveWatch() {
    watch_ = drives_->watch();
    return watch_.get();
}

void GuardPage::drivesMayHaveChanged() {
    if (!driveChangePending_) driveChangePending_ = startDriveChangeWait();
}

void GuardPage::followDrives() {
    driveChangePending_ = false;
    if (panel_.followDrives()) renderRows();
}

}  // namespace twk
