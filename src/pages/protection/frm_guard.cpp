#include "pages/protection/frm_guard.h"

#include <QFontMetrics>

#include "core/app/app_context.h"
#include "core/protection/guard_switch.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"

namespace twk {
namespace {

constexpr const char* kNotSavedMessage =
    "The protection setting could not be saved. Check that you may change the settings.";

// The drive pictures: usb_mini0 while protection is off, usb_mini1 while it is on.
constexpr int kUnprotectedDrive = 0;
constexpr int kProtectedDrive = 1;
// A drive row's picture, usb_mini0 or usb_mini1. Like every control it keeps the pointer to
// itself: a press on it drags nothing and a move over it is no move over the page surface.
SkinImage* makeDrivePicture(QWidget* page, QRect place) {
    auto* picture =
        new SkinImage(page, QStringLiteral("imgdisk"), place,
                      numberedPictures(QStringLiteral("usb_mini"), QStringLiteral("usb_mini"), 2));
    picture->setAttribute(Qt::WA_NoMousePropagation);
    return picture;
}
// Rows lie 600 twips apart from row 0.
constexpr int kRowPitchTwips = 600;
constexpr int kRowPictureTop = 2760;
constexpr int kRowTextTop = 2880;
// Mount points are longer than drive letters: the root column takes the width its visible roots
// need, up to a limit, and the name column the rest of the row before the scroll buttons.
constexpr int kRootLeft = 2160, kRowRight = 7740;
constexpr int kRootMaxWidth = 3000, kColumnGap = 180;
constexpr double kRowPointSize = 11.25;

}  // namespace

frmGuard::frmGuard(AppContext& context, Navigator& navigator, std::unique_ptr<DriveSource> drives)
    : SkinnedPage(context, QStringLiteral("frmGuard"), QStringLiteral("guard_background"),
                  QSize(9585, 7170)),
      navigator_(navigator),
      drives_(std::move(drives)),
      panel_(std::make_unique<DrivePanel>(*drives_, context.services.helper,
                                          context.langOp.lfg_notdevices)) {
    buildFrame();
    buildSwitch();
    buildDriveRows();
    buildScrollButtons();
    connect(this, &SkinnedPage::backgroundMouseMoved, this, &frmGuard::resetHover);

    // The switch starts off as designed and takes the stored state. Its save writes what is
    // stored already: should the store refuse it, the page still shows the stored state.
    if (context.mainOp.isGuard == "1") {
        flipSwitch(WhenNotSaved::KeepState);
        row0_.picture->showPicture(kProtectedDrive);
    }
    applyCaptions();
    show_drives();
    centerOnScreen();
}

frmGuard::~frmGuard() = default;

void frmGuard::buildFrame() {
    new SkinImage(this, QStringLiteral("AlphaImgCtl2"), twipsRect(480, 360, 480, 480),
                  {{QStringLiteral("AlphaImgCtl2"), QStringLiteral("guard_page_icon")}});
    lblGuard_ = new Caption(this, QStringLiteral("lblGuard"), twipsRect(1200, 480, 2415, 375),
                            QStringLiteral("Protection page"), 14.25);
    lblGuard_->setMinimumWidth(lblGuard_->width());
}

void frmGuard::buildScrollButtons() {
    btn_up_ =
        new PictureButton(this, QStringLiteral("btn_up"), twipsRect(7920, 2640, 360, 360),
                          numberedPictures(QStringLiteral("btn_up"), QStringLiteral("up"), 2));
    btn_down_ =
        new PictureButton(this, QStringLiteral("btn_down"), twipsRect(7950, 5520, 360, 360),
                          numberedPictures(QStringLiteral("btn_down"), QStringLiteral("down"), 2));
    btn_up_->setAccessibleName(QStringLiteral("Scroll up"));
    btn_down_->setAccessibleName(QStringLiteral("Scroll down"));
    // The scroll buttons light up under the pointer; only the page surface puts them back.
    connect(btn_up_, &PictureButton::entered, this, [this] { showHover(btn_up_, true); });
    connect(btn_down_, &PictureButton::entered, this, [this] { showHover(btn_down_, true); });
    connect(btn_up_, &PictureButton::clicked, this, [this] {
        panel_->scrollUp();
        renderRows();
    });
    connect(btn_down_, &PictureButton::clicked, this, [this] {
        panel_->scrollDown();
        renderRows();
    });

    PictureButton* close = addCloseButton(twipsRect(9000, 120, 435, 435));
    connect(close, &PictureButton::clicked, this, [this] {
        navigator_.showMain();
        navigator_.unload(PageId::Protection);
    });
}

void frmGuard::buildSwitch() {
    txt_guard_ = new Caption(
        this, QStringLiteral("txt_guard"), twipsRect(1200, 1440, 5400, 255),
        QStringLiteral("Enable protection for USB storage devices from viruses"), kRowPointSize);
    ch_guard_ =
        new PictureButton(this, QStringLiteral("ch_guard"), twipsRect(500, 1320, 600, 600),
                          numberedPictures(QStringLiteral("ch_"), QStringLiteral("check"), 4),
                          txt_guard_, ButtonRole::CheckBox);
    connect(ch_guard_, &PictureButton::clicked, this, &frmGuard::guard_switch);
    connect(txt_guard_, &Caption::clicked, this, &frmGuard::guard_switch);
    connect(ch_guard_, &PictureButton::entered, this, [this] { guard_hover(true); });
    connect(ch_guard_, &PictureButton::moved, this, [this] { guard_hover(true); });
    connect(txt_guard_, &Caption::hovered, this, [this] { guard_hover(true); });
}

void frmGuard::buildDriveRows() {
    row0_.picture = makeDrivePicture(this, twipsRect(1440, kRowPictureTop, 390, 390));
    row0_.root =
        new Caption(this, QStringLiteral("txtdisk"), twipsRect(kRootLeft, kRowTextTop, 390, 255),
                    QStringLiteral("disk"), kRowPointSize);
    row0_.name =
        new Caption(this, QStringLiteral("txtdiskname"), twipsRect(2880, kRowTextTop, 1005, 255),
                    QStringLiteral("name disk"), kRowPointSize);
    for (QWidget* part : {static_cast<QWidget*>(row0_.picture), static_cast<QWidget*>(row0_.root),
                          static_cast<QWidget*>(row0_.name)})
        part->setProperty("Index", 0);
}

void frmGuard::applyCaptions() {
    lblGuard_->setCaption(context().langOp.lfg_pagename);
    txt_guard_->setCaption(context().langOp.lfg_enableguard);
    // A translation may run longer than the design's label; it must not be cut.
    txt_guard_->resize(std::max(txt_guard_->width(), txt_guard_->sizeHint().width()),
                       txt_guard_->height());
}

void frmGuard::guard_switch() { flipSwitch(WhenNotSaved::Revert); }

void frmGuard::flipSwitch(WhenNotSaved whenNotSaved) {
    const std::string previousTag = local8(ch_guard_->tag());
    const auto toggle = guardToggle(previousTag);
    if (!toggle) return;
    const int previousDrivePicture = row0_.picture->shownPicture();
    const std::string previousSetting = context().mainOp.isGuard;

    ch_guard_->showPicture(static_cast<int>(toggle->picture));
    ch_guard_->setTag(qs(toggle->tag));
    row0_.picture->showPicture(toggle->drivesProtected ? kProtectedDrive : kUnprotectedDrive);
    context().mainOp.isGuard = toggle->isGuard;

    if (!context().mainOp.Save()) {
        if (whenNotSaved == WhenNotSaved::Revert) {
            // Never show a protection state that was not stored.
            ch_guard_->setTag(qs(previousTag));
            guard_hover(true);
            row0_.picture->showPicture(previousDrivePicture);
            context().mainOp.isGuard = previousSetting;
        }
        showErrorWhenVisible(kNotSavedMessage);
    }
    show_drives();
}

void frmGuard::guard_hover(bool over) {
    const auto picture = guardHoverPicture(local8(ch_guard_->tag()), over);
    if (!picture) return;
    ch_guard_->showPicture(static_cast<int>(*picture));
    txt_guard_->setTextColor(over ? context().HighlightColor : context().NormalColor);
}

void frmGuard::resetHover() {
    showHover(btn_up_, false);
    showHover(btn_down_, false);
    guard_hover(false);
}

void frmGuard::show_drives() {
    panel_->show_drives();
    renderRows();
}

int frmGuard::rootColumnWidth() const {
    const QFontMetrics metrics(row0_.root->font());
    int widest = 0;
    for (const DriveRow& row : panel_->rows())
        widest = std::max(widest, metrics.horizontalAdvance(qs(row.root)));
    return std::min(widest, twipsSize(kRootMaxWidth, 0).width());
}

void frmGuard::showRow(const Row& row, const DriveRow& content, bool noDevices, int rootWidth) {
    // The no-devices text runs across the whole row; a long mount point is elided in the middle
    // and shown whole in its tool tip.
    const QRect line = twipsRect(kRootLeft, 0, kRowRight - kRootLeft, 0);
    const int gap = twipsSize(kColumnGap, 0).width();
    const int width = noDevices ? line.width() : rootWidth;
    row.root->setGeometry(line.left(), row.root->y(), width, row.root->height());
    row.name->setGeometry(line.left() + width + gap, row.name->y(),
                          std::max(0, line.right() - (line.left() + width + gap)),
                          row.name->height());
    const QString root = qs(content.root);
    row.root->setText(noDevices ? root
                                : row.root->fontMetrics().elidedText(root, Qt::ElideMiddle, width));
    row.root->setToolTip(noDevices ? QString() : root);
    const QString name = qs(content.name);
    row.name->setText(row.name->fontMetrics().elidedText(name, Qt::ElideRight, row.name->width()));
    row.name->setToolTip(name);
}

void frmGuard::renderRows() {
    for (const Row& row : extraRows_) {
        delete row.picture;
        delete row.root;
        delete row.name;
    }
    extraRows_.clear();

    const auto& rows = panel_->rows();
    const bool noDevices = panel_->drives().empty();
    const int rootWidth = rootColumnWidth();
    showRow(row0_, rows.front(), noDevices, rootWidth);
    const int picture = row0_.picture->shownPicture();
    for (size_t r = 1; r < rows.size(); ++r) {
        const int offset = twipsSize(0, kRowPitchTwips * static_cast<int>(r)).height();
        Row row{
            makeDrivePicture(this, row0_.picture->geometry().translated(0, offset)),
            new Caption(this, row0_.root->objectName(),
                        row0_.root->geometry().translated(0, offset), QString(), kRowPointSize),
            new Caption(this, row0_.name->objectName(),
                        row0_.name->geometry().translated(0, offset), QString(), kRowPointSize)};
        row.picture->showPicture(picture);
        for (QWidget* part : {static_cast<QWidget*>(row.picture), static_cast<QWidget*>(row.root),
                              static_cast<QWidget*>(row.name)}) {
            part->setProperty("Index", static_cast<int>(r));
            part->show();
        }
        showRow(row, rows[r], false, rootWidth);
        extraRows_.push_back(row);
    }
}

}  // namespace twk
