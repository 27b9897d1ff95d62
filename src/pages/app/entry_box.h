#pragma once

#include <QRect>
#include <QString>

class QLineEdit;
class QWidget;

namespace twk {

// Entry boxes draw Arial text in RGB(64,64,64) on RGB(224,224,224).
void styleEntryBox(QWidget* box);

// Puts the text frame picture over geometry and the box, frameless, inside it. The frame is
// named frameName, or after the box when the design gives it no name of its own.
void placeInTextFrame(QWidget* box, QRect geometry, const QString& frameName = {});

// The text frame around box; null for a control without one.
QWidget* textFrameOf(const QWidget* box);

// A one-line entry box in its text frame.
QLineEdit* makeOneLineBox(QWidget* page, const QString& objectName, QRect geometry,
                          const QString& frameName = {});

}  // namespace twk
