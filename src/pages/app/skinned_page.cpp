#include "pages/app/skinned_page.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <utility>

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
    closeButton_ = addHoverButton("cmd_close", "cmd_close", "close", geometry);
    return closeButton_;
}

// Closed by the window manager (Alt+F4, its Close), a page does what its close button does:
// merely hidden, it would leave the user without a way back.
void SkinnedPage::closeEvent(QCloseEvent* event) {
    if (!closeButton_) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    emit closeButton_->clicked();
}

void SkinnedPage::addTextLink(Caption* link) {
    textLinks_.push_back(link);
    connect(link, &Caption::hovered, this,
            [this, link] { link->setTextColor(context_.HighlightColor); });
}

Caption* SkinnedPage::addDesignText(const char* name, QRect geometry, double pointSize,
                                    ColorRef color) {
    auto* text = new Caption(this, name, geometry, QString(), pointSize);
    text->setTextColor(color);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    return text;
}

void SkinnedPage::centerOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SkinnedPage::showErrorWhenVisible(const std::string& text) {
    if (isVisible()) {
        showError(context_.services.messages, text);
        return;
    }
    pendingError_ = text;
}

void SkinnedPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Once the page has come up, so that the box stands over it and takes the keyboard.
    if (!pendingError_.empty())
        QMetaObject::invokeMethod(this, &SkinnedPage::showPendingError, Qt::QueuedConnection);
}

void SkinnedPage::showPendingError() {
    if (!isVisible() || pendingError_.empty()) return;
    showError(context_.services.messages, std::exchange(pendingError_, std::string()));
}

void SkinnedPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void SkinnedPage::mousePressEvent(QMouseEvent* event) {
    // A press on the surface, or on a disabled control, takes the focus off every box: what the
    // user types next must not land in a box they did not click.
    setFocus(Qt::MouseFocusReason);
    const QPointF at = event->position();
    if (event->button() == Qt::LeftButton) {
        dragPending_ = true;
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
        setCursor(Qt::SizeAllCursor);
    }
    onBackgroundMouseDown(event->button(), static_cast<float>(at.x() * kTwipsPerPixel),
                          static_cast<float>(at.y() * kTwipsPerPixel));
}

// The window follows the pointer itself until the release wherever it may place itself: an X11
// window manager handed the move misses a release that comes before it grabs the pointer (a tap,
// a quick flick) and keeps the window stuck to the pointer. Wayland windows cannot place
// themselves; there the compositor moves them, and only while the button is still held.
void SkinnedPage::beginDrag() {
    dragPending_ = false;
    const bool compositorMoves = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    QWindow* window = windowHandle();
    manualDrag_ = !(compositorMoves && window && window->startSystemMove());
    if (!manualDrag_) unsetCursor();
}

void SkinnedPage::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        if (dragPending_) beginDrag();
        if (manualDrag_) {
            move(event->globalPosition().toPoint() - dragOffset_);
            return;
        }
    }
    for (Caption* link : textLinks_) link->setTextColor(context_.NormalColor);
    emit backgroundMouseMoved();
}

void SkinnedPage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragPending_ = false;
    manualDrag_ = false;
    unsetCursor();
}

}  // namespace twk
