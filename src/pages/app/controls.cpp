#include "pages/app/controls.h"

#include <QMouseEvent>

#include "pages/app/qt_text.h"
#include "pages/app/skin.h"

namespace twk {
namespace {

// A click is the left button released over the control that took the press.
bool isClick(const QWidget* control, QMouseEvent* event) {
    event->accept();
    return event->button() == Qt::LeftButton && control->rect().contains(event->position().toPoint());
}

}  // namespace

PictureButton::PictureButton(QWidget* page, const QString& objectName, QRect geometry)
    : QLabel(page) {
    setObjectName(objectName);
    setGeometry(geometry);
    setMouseTracking(true);
    setScaledContents(true);
    setTag(QStringLiteral("0"));
}

void PictureButton::showPictureOf(const QLabel* holder) { setPixmap(holder->pixmap()); }

bool PictureButton::showsPictureOf(const QLabel* holder) const {
    return pixmap().cacheKey() == holder->pixmap().cacheKey();
}

void PictureButton::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit entered();
}

void PictureButton::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit left();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();  // a move over a control is not a move over the window background
    emit moved();
}

void PictureButton::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (isClick(this, event)) emit clicked();
}

QFont captionFont(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    return font;
}

Caption::Caption(QWidget* page, const QString& objectName, QRect geometry,
                 const QString& designText, double pointSize)
    : QLabel(designText, page) {
    setObjectName(objectName);
    setGeometry(geometry);
    setMouseTracking(true);
    setFont(captionFont(pointSize));
    setTextColor(kDesignLabelColor);
}

void Caption::setTextColor(ColorRef color) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, toQColor(color));
    setPalette(colours);
}

ColorRef Caption::textColor() const { return toColorRef(palette().color(QPalette::WindowText)); }

void Caption::setCaption(const std::string& text) { setText(qs(text)); }

void Caption::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit hovered();
}

void Caption::mousePressEvent(QMouseEvent* event) { event->accept(); }

void Caption::mouseReleaseEvent(QMouseEvent* event) {
    if (isClick(this, event)) emit clicked();
}

QLabel* makePictureHolder(QWidget* page, const QString& objectName, const QString& skinName,
                          QSize size) {
    auto* holder = new QLabel(page);
    holder->setObjectName(objectName);
    holder->setPixmap(skinPicture(skinName, size));
    holder->setGeometry(QRect(QPoint(-1000, -1000), size));
    holder->hide();
    return holder;
}

}  // namespace twk
