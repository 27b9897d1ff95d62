#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <functional>

namespace twk {

// A picture of the skin (resources/skin/<name>.svg) drawn at size × ratio pixels and marked with
// that ratio, so that it shows sharp at size on a screen of that pixel density.
QPixmap skinPicture(const QString& name, QSize size, qreal ratio);

// A transparent picture of size × ratio pixels, marked with that ratio.
QPixmap blankPicture(QSize size, qreal ratio);
// The picture draw makes, drawn once per key; the key names everything the picture depends on,
// its pixel ratio included.
QPixmap cachedPicture(const QString& key, const std::function<QPixmap()>& draw);

// A skin picture as an icon of size, sharp on every screen the program can show on.
QIcon skinIcon(const QString& name, QSize size);

// Geometry in pixels of a design rectangle given in twips.
QRect twipsRect(int left, int top, int width, int height);
QPoint twipsPoint(int left, int top);
QSize twipsSize(int width, int height);

}  // namespace twk
