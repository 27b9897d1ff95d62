#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

namespace twk {

// A picture of the skin (resources/skin/<name>.svg) drawn at size pixels.
QPixmap skinPicture(const QString& name, QSize size);

// Geometry in pixels of a design rectangle given in twips.
QRect twipsRect(int left, int top, int width, int height);
QPoint twipsPoint(int left, int top);
QSize twipsSize(int width, int height);

}  // namespace twk
