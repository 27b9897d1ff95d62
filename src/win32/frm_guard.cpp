#include "win32/frm_guard.h"

#include <dbt.h>

#include <utility>

#include "core/app/app_context.h"
#include "core/design/guard_design.h"
#include "win32/navigator.h"

namespace twk::win32 {
namespace {

namespace guard_page = design::guard_page;

// Shows a message that waits for the page to come up, so that the box stands over it.
constexpr UINT kShowPendingError = WM_APP + 1;
constexpr UINT_PTR kDrivesSettleTimer = 1;

}  // namespace

frmGuard::frmGuard(AppContext& context, Navigator& navigator, std::unique_ptr<DriveSource> drives)
    : SkinnedPage(context, guard_page::kPage),
      GuardPage(context, std::move(drives)),
      navigator_(navigator) {
    makeRows();
    PictureButton& ch_guard = button("ch_guard");
    ch_guard.onClick = [this] { guard_switch(); };
    // The switch has no leave of its own: the page surface puts it back.
    ch_guard.onEnter = [this] { guard_hover(true); };
    button("btn_up").onClick = [this] { scrollUp(); };
    button("btn_down").onClick = [this] { scrollDown(); };
    onClose = [this] {
        navigator_.showMain();
        navigator_.unload(design::PageId::Protection);
    };

    Form_Load();
}

frmGuard::~frmGuard() = default;

void frmGuard::ApplyCaptions() {
    applyCaptions();
    label("txt_guard").widenToText();
}

// Row 0 is the design's; rows 1 to 4 are its copies, each kRowPitch further down. The name runs
// on to the row's right end, as drive names are longer than the design's label.
void frmGuard::makeRows() {
    const design::Control* parts[] = {design::find(design(), "imgdisk"),
                                      design::find(design(), "txtdisk"),
                                      design::find(design(), "txtdiskname")};

    for (std::size_t r = 0; r < rows_.size(); ++r) {
        auto& designs = rowDesigns_[r];
        for (std::size_t part = 0; part < designs.size(); ++part) {
            designs[part] = *parts[part];
            designs[part].rect.top += guard_page::kRowPitch * static_cast<int>(r);
        }
        designs[2].rect.width = guard_page::kRowRight - designs[2].rect.left;
        if (r == 0) {
            rows_[0] = {&control<Picture>("imgdisk"), &label("txtdisk"), &label("txtdiskname")};
            rows_[0].name->moveTo(designs[2].rect);
            continue;
        }
        rows_[r] = {&static_cast<Picture&>(adopt(std::make_unique<Picture>(*this, designs[0]))),
                    &static_cast<Label&>(adopt(std::make_unique<Label>(*this, designs[1]))),
                    &static_cast<Label&>(adopt(std::make_unique<Label>(*this, designs[2])))};
    }
}

void frmGuard::showSwitch(CheckPicture picture) {
    button("ch_guard").showPicture(static_cast<int>(picture));
}

void frmGuard::colourSwitchCaption(ColorRef colour) { label("txt_guard").setTextColor(colour); }

void frmGuard::showDrivePicture(int picture) { rows_[0].picture->showPicture(picture); }

void frmGuard::onSurfaceMouseMove() { guard_hover(false); }

void frmGuard::renderRows() {
    const auto& shown = panel().rows();
    const int picture = rows_[0].picture->shownPicture();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const Row& row = rows_[r];
        const bool visible = r < shown.size();
        if (r == 0) {
            // The no-devices text runs across the whole row.
            design::Rect root = rowDesigns_[0][1].rect;
            if (panel().drives().empty()) root.width = guard_page::kRowRight - root.left;
            row.root->moveTo(root);
        }
        if (visible) {
            row.root->setCaption(shown[r].root);
            row.name->setCaption(shown[r].name);
            row.picture->showPicture(picture);
        }
        // Row 0 always stands, with the no-devices text across it when nothing is listed.
        const int show = visible || r == 0 ? SW_SHOWNA : SW_HIDE;
        for (HWND part : {row.picture->hwnd(), row.root->hwnd()}) ::ShowWindow(part, show);
        ::ShowWindow(row.name->hwnd(), visible && !panel().drives().empty() ? SW_SHOWNA : SW_HIDE);
    }
}

void frmGuard::tellWhenShown(const std::string& message) {
    if (isShown()) {
        showError(context().services.messages, message);
        return;
    }
    pendingError_ = message;
    ::PostMessageA(hwnd(), kShowPendingError, 0, 0);
}

// Windows tells every top-level window of volumes that arrive or leave, drive letters included.
void frmGuard::volumesChanged(WPARAM event, LPARAM details) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(details);
    if (header && header->dbch_devicetype == DBT_DEVTYP_VOLUME) drivesMayHaveChanged();
}

bool frmGuard::startDriveChangeWait() {
    return ::SetTimer(hwnd(), kDrivesSettleTimer, kDriveChangeSettleMs, nullptr) != 0;
}

LRESULT frmGuard::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DEVICECHANGE) {
        volumesChanged(wParam, lParam);
        return TRUE;
    }
    if (message == WM_TIMER && wParam == kDrivesSettleTimer) {
        ::KillTimer(hwnd(), kDrivesSettleTimer);
        followDrives();
        return 0;
    }
    if (message == kShowPendingError) {
        if (!pendingError_.empty())
            showError(context().services.messages, std::exchange(pendingError_, {}));
        return 0;
    }
    return SkinnedPage::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
