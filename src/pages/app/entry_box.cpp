#include "pages/app/entry_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSvgRenderer>

#include "core/app/colors.h"
#include "pages/app/controls.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"

namespace twk {
namespace {

constexpr double kEntryPointSize = 9.75;
constexpr const char* kTextFrameProperty = "twkTextFrame";
// The frame's rounded corners, in pixels of its picture; they keep their shape at any size.
constexpr int kFrameCorner = 6;
// Keeps the box clear of the frame's border.
constexpr int kFrameInsetX = 4;
constexpr int kFrameInsetY = 2;

// The text frame picture drawn at its own size, then stretched to size by its edges and middle
// only, so that a tall or wide box keeps thin borders and round corners.
QPixmap stretchedFrame(QSize size, qreal ratio) {
    QPixmap picture = blankPicture(size, ratio);
    const QSize sourceSize = QSvgRenderer(QStringLiteral(":/skin/text_frame.svg")).defaultSize();
    if (sourceSize.isEmpty()) return picture;
    const QPixmap source = skinPicture(QStringLiteral("text_frame"), sourceSize, ratio);
    // The source is cut in its own pixels, the target in the page's.
    auto sourcePixels = [ratio](int length) { return qRound(length * ratio); };
    const int c = kFrameCorner;
    const int sourceCuts[] = {0, sourcePixels(c), sourcePixels(sourceSize.width() - c),
                              sourcePixels(sourceSize.width())};
    const int sourceRows[] = {0, sourcePixels(c), sourcePixels(sourceSize.height() - c),
                              sourcePixels(sourceSize.height())};
    const qreal targetCuts[] = {0, qreal(c), qreal(size.width() - c), qreal(size.width())};
    const qreal targetRows[] = {0, qreal(c), qreal(size.height() - c), qreal(size.height())};
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF from(QPointF(sourceCuts[column], sourceRows[row]),
                              QPointF(sourceCuts[column + 1], sourceRows[row + 1]));
            const QRectF to(QPointF(targetCuts[column], targetRows[row]),
                            QPointF(targetCuts[column + 1], targetRows[row + 1]));
            painter.drawPixmap(to, source, from);
        }
    }
    return picture;
}

// The text frame picture for a box of size on a screen of ratio pixels per pixel.
QPixmap textFramePicture(QSize size, qreal ratio) {
    const QString key =
        QStringLiteral("text_frame/%1x%2@%3").arg(size.width()).arg(size.height()).arg(ratio);
    return cachedPicture(key, [&] { return stretchedFrame(size, ratio); });
}

// The frame picture behind an entry box, drawn for the screen it shows on.
class TextFrame : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, textFramePicture(size(), devicePixelRatioF()));
    }
};

}  // namespace

void styleEntryBox(QWidget* box) {
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, toQColor(kEntryBackColor));
    colours.setColor(QPalette::Text, toQColor(kDesignLabelColor));
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button})
        colours.setColor(QPalette::Disabled, role, toQColor(kDisabledEntryBackColor));
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
        colours.setColor(QPalette::Disabled, role, toQColor(kDisabledEntryTextColor));
    box->setPalette(colours);
    box->setFont(captionFont(kEntryPointSize));
}

void placeInTextFrame(QWidget* box, QRect geometry, const QString& frameName) {
    auto* frame = new TextFrame(box->parentWidget());
    frame->setObjectName(frameName.isEmpty() ? box->objectName() + QStringLiteral("_frame")
                                             : frameName);
    frame->setGeometry(geometry);
    // The frame belongs to the window surface: the pointer over its border drags the window.
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->lower();
    box->setProperty(kTextFrameProperty, QVariant::fromValue<QObject*>(frame));
    box->setGeometry(geometry.adjusted(kFrameInsetX, kFrameInsetY, -kFrameInsetX, -kFrameInsetY));
}

QWidget* textFrameOf(const QWidget* box) {
    return qobject_cast<QWidget*>(box->property(kTextFrameProperty).value<QObject*>());
}

QLineEdit* makeOneLineBox(QWidget* page, const QString& objectName, QRect geometry,
                          const QString& frameName) {
    auto* box = new QLineEdit(page);
    box->setObjectName(objectName);
    box->setFrame(false);
    box->setTextMargins(2, 0, 2, 0);
    styleEntryBox(box);
    placeInTextFrame(box, geometry, frameName);
    return box;
}

}  // namespace twk
