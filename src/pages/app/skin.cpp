#include "pages/app/skin.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include "core/app/twips.h"

namespace twk {

QPixmap skinPicture(const QString& name, QSize size) {
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1@%2x%3").arg(name).arg(size.width()).arg(size.height());
    auto found = cache.constFind(key);
    if (found != cache.constEnd()) return *found;
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/skin/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    cache.insert(key, picture);
    return picture;
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsPoint(left, top), twipsSize(width, height));
}

QPoint twipsPoint(int left, int top) { return QPoint(twipsToPixels(left), twipsToPixels(top)); }

QSize twipsSize(int width, int height) {
    return QSize(twipsToPixels(width), twipsToPixels(height));
}

}  // namespace twk
