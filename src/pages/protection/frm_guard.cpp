#include "pages/protection/frm_guard.h"

#include <QFontMetrics>

#include "core/app/app_context.h"
#include "core/design/guard_design.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"

namespace twk {

namespace guard_page = design::guard_page;

namespace {

// A drive row's picture. Like every control it keeps the pointer to itself: a press on it drags
// nothing and a move over it is no move over the page surface.
SkinImage* makeDrivePicture(QWidget* page, QRect place) {
    const design::Control& design = *design::find(guard_page::kPage, "imgdisk");
    auto* picture =
        new SkinImage(page, QStringLiteral("imgdisk"), place,
                      numberedPictures(QString::fromLatin1(design.holder),
                                       QString::fromLatin1(design.skin), design.pictures));
    picture->setAttribute(Qt::WA_NoMousePropagation);
    return picture;
}

}  // namespace

frmGuard::frmGuard(AppContext& context, Navigator& navigator, std::unique_ptr<DriveSource> drives)
    : SkinnedPage(context, guard_page::kPage),
      GuardPage(context, std::move(drives)),
      navigator_(navigator) {
    buildDesign();
    lblGuard_ = control<Caption>("lblGuard");
    lblGuard_->setMinimumWidth(lblGuard_->width());
    wireSwitch();
    wireScrollButtons();
    connect(this, &SkinnedPage::backgroundMouseMoved, this, [this] { guard_hover(false); });

    Form_Load();
    watchDrives();
    centerOnScreen();
}

frmGuard::~frmGuard() = default;

// The drive row's parts keep the pointer (their tool tips show whole roots and names).
QWidget* frmGuard::makeOwnControl(const design::Control& control) {
    const QRect place = placeOf(control);
    QWidget* part = nullptr;
    if (control.name == "imgdisk") {
        part = row0_.picture = makeDrivePicture(this, place);
    } else if (control.name == "txtdisk" || control.name == "txtdiskname") {
        auto* text = new Caption(this, QString::fromLatin1(control.name), place,
                                 QString::fromLatin1(control.text), control.pointSize);
        (control.name == "txtdisk" ? row0_.root : row0_.name) = text;
        part = text;
    }
    if (part) part->setProperty("Index", 0);
    return part;
}

void frmGuard::wireScrollButtons() {
    btn_up_ = control("btn_up");
    btn_down_ = control("btn_down");
    onClick("btn_up", [this] { scrollUp(); });
    onClick("btn_down", [this] { scrollDown(); });
    onClick("cmd_close", [this] { navigator_.take(guard_page::kClose, PageId::Protection); });
}

void frmGuard::wireSwitch() {
    txt_guard_ = control<Caption>("txt_guard");
    ch_guard_ = control("ch_guard");
    connect(ch_guard_, &PictureButton::clicked, this, [this] { guard_switch(); });
    connect(txt_guard_, &Caption::clicked, this, [this] { guard_switch(); });
    connect(ch_guard_, &PictureButton::entered, this, [this] { guard_hover(true); });
    connect(ch_guard_, &PictureButton::moved, this, [this] { guard_hover(true); });
    connect(txt_guard_, &Caption::hovered, this, [this] { guard_hover(true); });
}

void frmGuard::watchDrives() {
    platform::DriveWatch* watch = openDriveWatch();
    if (!watch) return;
    driveChangeSettle_.setSingleShot(true);
    driveChangeSettle_.setInterval(kDriveChangeSettleMs);
    connect(&driveChangeSettle_, &QTimer::timeout, this, [this] { followDrives(); });
    if (watch->mountTable() >= 0) {
        mountsChanged_ =
            std::make_unique<QSocketNotifier>(watch->mountTable(), QSocketNotifier::Exception);
        connect(mountsChanged_.get(), &QSocketNotifier::activated, this,
                [this] { drivesMayHaveChanged(); });
    }
    if (watch->deviceEvents() >= 0) {
        devicesChanged_ =
            std::make_unique<QSocketNotifier>(watch->deviceEvents(), QSocketNotifier::Read);
        connect(devicesChanged_.get(), &QSocketNotifier::activated, this, [this, watch] {
            watch->takeDeviceEvents();
            drivesMayHaveChanged();
        });
    }
}

bool frmGuard::startDriveChangeWait() {
    driveChangeSettle_.start();
    return true;
}

void frmGuard::ApplyCaptions() {
    showCaptions(context().langOp);
    lblGuard_->setCaption(context().langOp.lfg_pagename);
    txt_guard_->setCaption(context().langOp.lfg_enableguard);
    // A translation may run longer than the design's label; it must not be cut.
    txt_guard_->resize(std::max(txt_guard_->width(), txt_guard_->sizeHint().width()),
                       txt_guard_->height());
}

void frmGuard::showSwitch(CheckPicture picture) {
    ch_guard_->showPicture(static_cast<int>(picture));
    ch_guard_->setTag(qs(switchTag()));
}

void frmGuard::colourSwitchCaption(ColorRef colour) { txt_guard_->setTextColor(colour); }

void frmGuard::showDrivePicture(int picture) { row0_.picture->showPicture(picture); }

void frmGuard::tellWhenShown(const std::string& message) { showErrorWhenVisible(message); }

int frmGuard::rootColumnWidth() const {
    const QFontMetrics metrics(row0_.root->font());
    int widest = 0;
    for (const DriveRow& row : panel().rows())
        widest = std::max(widest, metrics.horizontalAdvance(qs(row.root)));
    return std::min(widest, twipsSize(guard_page::kRootMaxWidth, 0).width());
}

void frmGuard::showRow(const Row& row, const DriveRow& content, bool noDevices, int rootWidth) {
    // The no-devices text runs across the whole row; a long mount point is elided in the middle
    // and shown whole in its tool tip.
    const int rootLeft = design::find(guard_page::kPage, "txtdisk")->rect.left;
    const QRect line = twipsRect(rootLeft, 0, guard_page::kRowRight - rootLeft, 0);
    const int gap = twipsSize(guard_page::kColumnGap, 0).width();
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

    const auto& rows = panel().rows();
    const bool noDevices = panel().drives().empty();
    const int rootWidth = rootColumnWidth();
    showRow(row0_, rows.front(), noDevices, rootWidth);
    const int picture = row0_.picture->shownPicture();
    for (size_t r = 1; r < rows.size(); ++r) {
        const int offset = twipsSize(0, guard_page::kRowPitch * static_cast<int>(r)).height();
        Row row{makeDrivePicture(this, row0_.picture->geometry().translated(0, offset)),
                new Caption(this, row0_.root->objectName(),
                            row0_.root->geometry().translated(0, offset), QString(),
                            guard_page::kRowPointSize),
                new Caption(this, row0_.name->objectName(),
                            row0_.name->geometry().translated(0, offset), QString(),
                            guard_page::kRowPointSize)};
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
