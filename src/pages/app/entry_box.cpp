#include "pages/app/entry_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSvgRenderer>

#include "core/app/colors.h"
#include "pages/app/controls.h"
#include "pages/app/qt_text.h"

namespace twk {
namespace {

constexpr double kEntryPointSize = 9.75;
// The frame's rounded corners, in pixels of its picture; they keep their shape at any size.
constexpr int kFrameCorner = 6;
// Keeps the box clear of the frame's border.
constexpr int kFrameInsetX = 4;
constexpr int kFrameInsetY = 2;

// The text frame picture drawn at its own size, then stretched to size by its edges and middle
// only, so that a tall or wide box keeps thin borders and round corners.
QPixmap textFramePicture(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/skin/text_frame.svg"));
    if (!renderer.isValid()) return picture;
    QPixmap source(renderer.defaultSize());
    source.fill(Qt::transparent);
    {
        QPainter painter(&source);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    const int c = kFrameCorner;
    const int sourceCuts[] = {0, c, source.width() - c, source.width()};
    const int sourceRows[] = {0, c, source.height() - c, source.height()};
    const int targetCuts[] = {0, c, size.width() - c, size.width()};
    const int targetRows[] = {0, c, size.height() - c, size.height()};
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect from(QPoint(sourceCuts[column], sourceRows[row]),
                             QPoint(sourceCuts[column + 1] - 1, sourceRows[row + 1] - 1));
            const QRect to(QPoint(targetCuts[column], targetRows[row]),
                           QPoint(targetCuts[column + 1] - 1, targetRows[row + 1] - 1));
            painter.drawPixmap(to, source, from);
        }
    }
    return picture;
}

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
    auto* frame = new QLabel(box->parentWidget());
    frame->setObjectName(frameName.isEmpty() ? box->objectName() + QStringLiteral("_frame")
                                             : frameName);
    frame->setGeometry(geometry);
    frame->setPixmap(textFramePicture(geometry.size()));
    // The frame belongs to the window surface: the pointer over its border drags the window.
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->lower();
    box->setGeometry(geometry.adjusted(kFrameInsetX, kFrameInsetY, -kFrameInsetX, -kFrameInsetY));
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
