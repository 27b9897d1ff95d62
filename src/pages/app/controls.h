#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QString>
#include <string>
#include <vector>

#include "core/app/colors.h"

namespace twk {

// One picture a control can show: the design's name for it (the hidden picture holder the
// window designs kept it in) and the skin file it is drawn from.
struct NamedPicture {
    QString name;
    QString skin;
};
using PictureList = std::vector<NamedPicture>;

// The pictures <prefix>0, <prefix>1 … drawn from <skin>_0, <skin>_1 …: a hover button's normal
// and highlighted picture (two), or a check box's off, off highlighted, on, on highlighted (four).
PictureList numberedPictures(const QString& prefix, const QString& skin, int count);

// The pictures of a control, of which it shows one at a time, drawn at the pixel density of the
// screen it paints on.
class PictureSet {
public:
    explicit PictureSet(PictureList pictures) : pictures_(std::move(pictures)) {}

    void show(int index) { shown_ = index; }
    int shown() const { return shown_; }
    bool shows(const QString& name) const;
    void paint(QWidget* control) const;

private:
    PictureList pictures_;
    int shown_ = 0;
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
    // This caption names field for screen readers, in whatever language it shows.
    void labelFor(QWidget* field);

signals:
    void hovered();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* field_ = nullptr;
};

// A caption that is itself the action: reached with Tab, clicked by Space and Enter as by the
// pointer, read out as a button or a link.
class TextLink : public Caption {
    Q_OBJECT
public:
    TextLink(QWidget* page, const QString& objectName, QRect geometry, const QString& designText,
             double pointSize, QAccessible::Role role = QAccessible::Button);

    QAccessible::Role role() const { return role_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAccessible::Role role_;
};

// How a picture button is read out; check boxes, radio buttons and tabs also report their Tag
// as their checked or selected state.
enum class ButtonRole { Push, CheckBox, RadioButton, Tab };

// A picture button: shows one of its pictures (normal and highlighted, or the four looks of a
// check box), keeps the design's text Tag, and may have a caption label that names it and takes
// the hover colours. Reached with Tab and clicked by Space and Enter; the pointer's enter, leave
// and moves over it are reported for the page's hover rules.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(QWidget* page, const QString& objectName, QRect geometry, PictureList pictures,
                  Caption* caption = nullptr, ButtonRole role = ButtonRole::Push);

    QString tag() const { return property("Tag").toString(); }
    void setTag(const QString& tag);
    void showPicture(int index);
    int shownPicture() const { return pictures_.shown(); }
    // True when the button shows the picture the design names so right now.
    bool showsPicture(const QString& name) const { return pictures_.shows(name); }
    Caption* caption() const { return caption_; }
    ButtonRole role() const { return role_; }

signals:
    void entered();
    void left();
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PictureSet pictures_;
    Caption* caption_;
    ButtonRole role_;
};

// A picture that is no control: a page icon, a marker bar, a drive picture.
class SkinImage : public QLabel {
    Q_OBJECT
public:
    SkinImage(QWidget* page, const QString& objectName, QRect geometry, PictureList pictures);

    void showPicture(int index);
    int shownPicture() const { return pictures_.shown(); }
    bool showsPicture(const QString& name) const { return pictures_.shows(name); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureSet pictures_;
};

// The font every caption uses.
QFont captionFont(double pointSize);

}  // namespace twk
