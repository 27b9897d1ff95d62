#pragma once

#include <memory>
#include <string>

#include "core/app/colors.h"
#include "core/protection/drive_panel.h"
#include "core/protection/guard_switch.h"

namespace twk {

class AppContext;

// The protection page's steps, whatever draws it: the switch and the setting it stores, the
// removable drives five rows at a time, and the drives followed while the page is open. Each page
// layer's page derives from it, draws what these steps leave, and hears of drive changes and
// waits for them to settle in its own event loop.
class GuardPage {
public:
    virtual ~GuardPage();
    GuardPage(const GuardPage&) = delete;
    GuardPage& operator=(const GuardPage&) = delete;

    // Flips the switch, stores every setting and rebuilds the drive rows.
    void guard_switch();
    // The switch's look for the pointer being over it or not.
    void guard_hover(bool over);
    // Rebuilds the drive list and the rows.
    void show_drives();
    // The scroll buttons: one drive further down or back up, and the rows again.
    void scrollDown();
    void scrollUp();

    const DrivePanel& panel() const { return panel_; }

protected:
    GuardPage(AppContext& app, std::unique_ptr<DriveSource> drives);

    // The page opens on the stored state, its captions shown and its drives listed.
    void Form_Load();
    // "1" on, "0" off.
    const std::string& switchTag() const { return guard_.tag(); }

    // The drive source's watch, open for as long as the page lives (so a layer's listeners on its
    // descriptors, being the derived page's, stop first); null for a source that never changes
    // by itself.
    platform::DriveWatch* openDriveWatch();
    // A sign that the drives may have changed. The first starts the layer's wait of
    // kDriveChangeSettleMs; those that follow within it join the same rebuild.
    void drivesMayHaveChanged();
    // The wait is over: the drives are listed again, the rows drawn again if they changed.
    void followDrives();

    // The switch's picture, the switch standing for switchTag.
    virtual void showSwitch(CheckPicture picture) = 0;
    // The switch's caption in the highlight or the normal colour.
    virtual void colourSwitchCaption(ColorRef colour) = 0;
    // The first drive row's picture; renderRows gives every other row the same.
    virtual void showDrivePicture(int picture) = 0;
    // Draws the panel's rows.
    virtual void renderRows() = 0;
    virtual void ApplyCaptions() = 0;
    // A message box over the page, once the page shows.
    virtual void tellWhenShown(const std::string& message) = 0;
    // Starts the wait after which followDrives is called; false when it could not start.
    virtual bool startDriveChangeWait() = 0;

private:
    GuardSwitch::Draw drawSwitch();
    // After the switch's save: a refused one is told; the drive rows are rebuilt.
    void showSaved(bool saved);

    AppContext& app_;
    std::unique_ptr<DriveSource> drives_;
    DrivePanel panel_;
    GuardSwitch guard_;
    std::unique_ptr<platform::DriveWatch> watch_;
    bool driveChangePending_ = false;
};

}  // namespace twk
