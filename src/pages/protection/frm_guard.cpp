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
    connect(this, &SkinnedPage::backgroundMouseMoved, this, &frmGuard::resetHover);

    // The switch starts off as designed and takes the stored state. Its save writes what is
    // stored already: should the store refuse it, the page still shows the stored state.
    if (context.mainOp.isGuard == "1") {
        flipSwitch(WhenNotSaved::KeepState);
        row0_.picture->showPictureOf(usb_mini1_);
    }
    applyCaptions();
    show_drives();
    centerOnScreen();
}

frmGuard::~frmGuard() = default;

void frmGuard::buildFrame() {
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("AlphaImgCtl2"));
    icon->setGeometry(twipsRect(480, 360, 480, 480));
    icon->setPixmap(skinPicture(QStringLiteral("guard_page_icon"), icon->size()));
    lblGuard_ = new Caption(this, QStringLiteral("lblGuard"), twipsRect(1200, 480, 2415, 375),
                            QStringLiteral("Protection page"), 14.25);
    lblGuard_->setMinimumWidth(lblGuard_->width());

    PictureButton* close = addCloseButton(twipsRect(9000, 120, 435, 435));
    connect(close, &PictureButton::clicked, this, [this] {
        navigator_.showMain();
        navigator_.unload(PageId::Protection);
    });

    const QRect upRect = twipsRect(7920, 2640, 360, 360);
    const QRect downRect = twipsRect(7950, 5520, 360, 360);
    btn_up0_ = makePictureHolder(this, QStringLiteral("btn_up0"), QStringLiteral("up_0"), upRect.size());
    btn_up1_ = makePictureHolder(this, QStringLiteral("btn_up1"), QStringLiteral("up_1"), upRect.size());
    btn_down0_ = makePictureHolder(this, QStringLiteral("btn_down0"), QStringLiteral("down_0"),
                                   downRect.size());
    btn_down1_ = makePictureHolder(this, QStringLiteral("btn_down1"), QStringLiteral("down_1"),
                                   downRect.size());
    btn_up_ = new PictureButton(this, QStringLiteral("btn_up"), upRect);
    btn_down_ = new PictureButton(this, QStringLiteral("btn_down"), downRect);
    btn_up_->showPictureOf(btn_up0_);
    btn_down_->showPictureOf(btn_down0_);
    // The scroll buttons light up under the pointer; only the page surface puts them back.
    connect(btn_up_, &PictureButton::entered, this, [this] { btn_up_->showPictureOf(btn_up1_); });
    connect(btn_down_, &PictureButton::entered, this,
            [this] { btn_down_->showPictureOf(btn_down1_); });
    connect(btn_up_, &PictureButton::clicked, this, [this] {
        panel_->scrollUp();
        renderRows();
    });
    connect(btn_down_, &PictureButton::clicked, this, [this] {
        panel_->scrollDown();
        renderRows();
    });
}

void frmGuard::buildSwitch() {
    const QRect switchRect = twipsRect(500, 1320, 600, 600);
    for (int picture = 0; picture < 4; ++picture) {
        switchPictures_[picture] =
            makePictureHolder(this, QStringLiteral("ch_%1").arg(picture),
                              QStringLiteral("check_%1").arg(picture), switchRect.size());
    }
    ch_guard_ = new PictureButton(this, QStringLiteral("ch_guard"), switchRect);
    ch_guard_->showPictureOf(switchPictures_[0]);
    txt_guard_ = new Caption(this, QStringLiteral("txt_guard"), twipsRect(1200, 1440, 5400, 255),
                             QStringLiteral("Enable protection for USB storage devices from viruses"),
                             kRowPointSize);
    connect(ch_guard_, &PictureButton::clicked, this, &frmGuard::guard_switch);
    connect(txt_guard_, &Caption::clicked, this, &frmGuard::guard_switch);
    connect(ch_guard_, &PictureButton::entered, this, [this] { guard_hover(true); });
    connect(ch_guard_, &PictureButton::moved, this, [this] { guard_hover(true); });
    connect(txt_guard_, &Caption::hovered, this, [this] { guard_hover(true); });
}

void frmGuard::buildDriveRows() {
    const QSize pictureSize = twipsSize(390, 390);
    usb_mini0_ = makePictureHolder(this, QStringLiteral("usb_mini0"), QStringLiteral("usb_mini_0"),
                                   pictureSize);
    usb_mini1_ = makePictureHolder(this, QStringLiteral("usb_mini1"), QStringLiteral("usb_mini_1"),
                                   pictureSize);
    row0_.picture = new PictureButton(this, QStringLiteral("imgdisk"),
                                      twipsRect(1440, kRowPictureTop, 390, 390));
    row0_.picture->showPictureOf(usb_mini0_);
    row0_.root = new Caption(this, QStringLiteral("txtdisk"), twipsRect(kRootLeft, kRowTextTop, 390, 255),
                             QStringLiteral("disk"), kRowPointSize);
    row0_.name = new Caption(this, QStringLiteral("txtdiskname"),
                             twipsRect(2880, kRowTextTop, 1005, 255), QStringLiteral("name disk"),
                             kRowPointSize);
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

QLabel* frmGuard::drivePicture() const {
    return row0_.picture->showsPictureOf(usb_mini1_) ? usb_mini1_ : usb_mini0_;
}

void frmGuard::guard_switch() { flipSwitch(WhenNotSaved::Revert); }

void frmGuard::flipSwitch(WhenNotSaved whenNotSaved) {
    const std::string previousTag = local8(ch_guard_->tag());
    const auto toggle = guardToggle(previousTag);
    if (!toggle) return;
    QLabel* previousDrivePicture = drivePicture();
    const std::string previousSetting = context().mainOp.isGuard;

    ch_guard_->showPictureOf(switchPictures_[static_cast<int>(toggle->picture)]);
    ch_guard_->setTag(qs(toggle->tag));
    row0_.picture->showPictureOf(toggle->drivesProtected ? usb_mini1_ : usb_mini0_);
    context().mainOp.isGuard = toggle->isGuard;

    if (!context().mainOp.Save()) {
        if (whenNotSaved == WhenNotSaved::Revert) {
            // Never show a protection state that was not stored.
            ch_guard_->setTag(qs(previousTag));
            guard_hover(true);
            row0_.picture->showPictureOf(previousDrivePicture);
            context().mainOp.isGuard = previousSetting;
        }
        showErrorWhenVisible(kNotSavedMessage);
    }
    show_drives();
}

void frmGuard::guard_hover(bool over) {
    const auto picture = guardHoverPicture(local8(ch_guard_->tag()), over);
    if (!picture) return;
    ch_guard_->showPictureOf(switchPictures_[static_cast<int>(*picture)]);
    txt_guard_->setTextColor(over ? context().HighlightColor : context().NormalColor);
}

void frmGuard::resetHover() {
    btn_up_->showPictureOf(btn_up0_);
    btn_down_->showPictureOf(btn_down0_);
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
                          std::max(0, line.right() - (line.left() + width + gap)), row.name->height());
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
    QLabel* picture = drivePicture();
    for (size_t r = 1; r < rows.size(); ++r) {
        const int offset = twipsSize(0, kRowPitchTwips * static_cast<int>(r)).height();
        Row row{new PictureButton(this, row0_.picture->objectName(),
                                  row0_.picture->geometry().translated(0, offset)),
                new Caption(this, row0_.root->objectName(), row0_.root->geometry().translated(0, offset),
                            QString(), kRowPointSize),
                new Caption(this, row0_.name->objectName(), row0_.name->geometry().translated(0, offset),
                            QString(), kRowPointSize)};
        row.picture->showPictureOf(picture);
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
