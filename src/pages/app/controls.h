#pragma once

#include <QLabel>
#include <QString>

#include "core/app/colors.h"

namespace twk {

// A picture control of the skinned windows: shows one picture at a time, keeps a text Tag and
// reports pointer enter, leave, move and click.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    PictureButton(QWidget* page, const QString& objectName, QRect geometry);

    QString tag() const { return property("Tag").toString(); }
    void setTag(const QString& tag) { setProperty("Tag", tag); }
    // Shows the picture that a hidden picture holder carries.
    void showPictureOf(const QLabel* holder);
    // True when this control shows the holder's picture right now.
    bool showsPictureOf(const QLabel* holder) const;

signals:
    void entered();
    void left();
    void moved();
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A caption label: Arial text in a settable colour; reports pointer moves and clicks.
class Caption : public QLabel {
    Q_OBJECT
public:
    Caption(QWidget* page, const QString& objectName, QRect geometry, const QString& designText,
            double pointSize);

    void setTextColor(ColorRef color);
    ColorRef textColor() const;
    void setCaption(const std::string& text);

signals:
    void hovered();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A hidden control that only carries a picture for others to copy; it lies outside the client
// area and is never seen.
QLabel* makePictureHolder(QWidget* page, const QString& objectName, const QString& skinName,
                          QSize size);

// The font every caption uses.
QFont captionFont(double pointSize);

}  // namespace twk
