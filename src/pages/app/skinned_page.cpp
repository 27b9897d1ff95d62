#include "pages/app/skinned_page.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "core/app/app_context.h"
#include "core/app/twips.h"
#include "pages/app/skin.h"

namespace twk {

SkinnedPage::SkinnedPage(AppContext& context, const QString& objectName,
                         const QString& backgroundSkin, QSize clientTwips)
    // A tool window stays out of the task list, as the program's windows should.
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), context_(context) {
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("Tarnwick"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    const QSize size = twipsSize(clientTwips.width(), clientTwips.height());
    setFixedSize(size);
    background_ = skinPicture(backgroundSkin, size);
    setWindowIcon(QIcon(skinPicture(QStringLiteral("app_icon"), QSize(64, 64))));
}

void SkinnedPage::attachHover(PictureButton* button, QLabel* normal, QLabel* highlighted,
                              Caption* caption) {
    button->showPictureOf(normal);
    connect(button, &PictureButton::entered, this, [this, button, highlighted, caption] {
        button->showPictureOf(highlighted);
        if (caption) caption->setTextColor(context_.HighlightColor);
    });
    connect(button, &PictureButton::left, this, [this, button, normal, caption] {
        button->showPictureOf(normal);
        if (caption) caption->setTextColor(context_.NormalColor);
    });
}

PictureButton* SkinnedPage::addHoverButton(const char* name, const char* holderPrefix,
                                           const char* skin, QRect geometry, Caption* caption) {
    auto* button = new PictureButton(this, name, geometry);
    const QString prefix = holderPrefix;
    const QString picture = skin;
    attachHover(button, makePictureHolder(this, prefix + "0", picture + "_0", geometry.size()),
                makePictureHolder(this, prefix + "1", picture + "_1", geometry.size()), caption);
    return button;
}

PictureButton* SkinnedPage::addCloseButton(QRect geometry) {
    return addHoverButton("cmd_close", "cmd_close", "close", geometry);
}

void SkinnedPage::addTextLink(Caption* link) {
    textLinks_.push_back(link);
    connect(link, &Caption::hovered, this,
            [this, link] { link->setTextColor(context_.HighlightColor); });
}

void SkinnedPage::centerOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SkinnedPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void SkinnedPage::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (event->button() == Qt::LeftButton) beginDrag(event->globalPosition().toPoint());
    windowMouseDown(event->button(), static_cast<float>(at.x() * kTwipsPerPixel),
                    static_cast<float>(at.y() * kTwipsPerPixel));
}

void SkinnedPage::windowMouseDown(Qt::MouseButton button, float xTwips, float yTwips) {
    onBackgroundMouseDown(button, xTwips, yTwips);
}

void SkinnedPage::beginDrag(QPoint globalPosition) {
    setCursor(Qt::SizeAllCursor);
    // The window manager moves the window as if its title bar had been grabbed; where it
    // cannot, the window follows the pointer itself until the button is released.
    QWindow* window = windowHandle();
    manualDrag_ = !(window && window->startSystemMove());
    dragOffset_ = globalPosition - frameGeometry().topLeft();
    if (!manualDrag_) unsetCursor();
}

void SkinnedPage::mouseMoveEvent(QMouseEvent* event) {
    if (manualDrag_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    for (Caption* link : textLinks_) link->setTextColor(context_.NormalColor);
    emit backgroundMouseMoved();
}

void SkinnedPage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && manualDrag_) {
        manualDrag_ = false;
        unsetCursor();
    }
}

}  // namespace twk
