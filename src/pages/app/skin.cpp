#include "pages/app/skin.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

#include "core/app/twips.h"

namespace twk {

QPixmap blankPicture(QSize size, qreal ratio) {
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    return picture;
}

QPixmap cachedPicture(const QString& key, const std::function<QPixmap()>& draw) {
    static QHash<QString, QPixmap> cache;
    auto found = cache.constFind(key);
    if (found != cache.constEnd()) return *found;
    return *cache.insert(key, draw());
}

QPixmap skinPicture(const QString& name, QSize size, qreal ratio) {
    const QString key =
        QStringLiteral("%1@%2x%3@%4").arg(name).arg(size.width()).arg(size.height()).arg(ratio);
    return cachedPicture(key, [&] {
        QPixmap picture = blankPicture(size, ratio);
        QSvgRenderer renderer(QStringLiteral(":/skin/%1.svg").arg(name));
        if (renderer.isValid()) {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        return picture;
    });
}

QIcon skinIcon(const QString& name, QSize size) {
    QIcon icon;
    QList<qreal> ratios{1.0};
    for (const QScreen* screen : QGuiApplication::screens())
        if (!ratios.contains(screen->devicePixelRatio())) ratios << screen->devicePixelRatio();
    for (qreal ratio : ratios) icon.addPixmap(skinPicture(name, size, ratio));
    return icon;
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsPoint(left, top), twipsSize(width, height));
}

QPoint twipsPoint(int left, int top) { return QPoint(twipsToPixels(left), twipsToPixels(top)); }

QSize twipsSize(int width, int height) {
    return QSize(twipsToPixels(width), twipsToPixels(height));
}

}  // namespace twk
