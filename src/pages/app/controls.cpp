#include "pages/app/controls.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <set>
#include <vector>

#include "pages/app/qt_text.h"
#include "pages/app/skin.h"
#include "pages/app/skinned_page.h"

namespace twk {
namespace {

// A click is the left button released over the control that took the press.
bool isClick(const QWidget* control, QMouseEvent* event) {
    event->accept();
    return event->button() == Qt::LeftButton &&
           control->rect().contains(event->position().toPoint());
}

bool isActivationKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier || event->isAutoRepeat()) return false;
    const int key = event->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter ||
           key == Qt::Key_Select;
}

QAccessible::Role accessibleRole(ButtonRole role) {
    switch (role) {
        case ButtonRole::CheckBox:
            return QAccessible::CheckBox;
        case ButtonRole::RadioButton:
            return QAccessible::RadioButton;
        case ButtonRole::Tab:
            return QAccessible::PageTab;
        case ButtonRole::Push:
            break;
    }
    return QAccessible::Button;
}

// What a screen reader learns of a picture button: its caption or its own short name, its
// role, and its Tag as checked or selected state.
class AccessiblePictureButton : public QAccessibleWidget {
public:
    explicit AccessiblePictureButton(PictureButton* button)
        : QAccessibleWidget(button, accessibleRole(button->role())) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty() &&
            button()->caption())
            return button()->caption()->text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const bool on = button()->tag() == QLatin1String("1");
        switch (button()->role()) {
            case ButtonRole::CheckBox:
            case ButtonRole::RadioButton:
                state.checkable = true;
                state.checked = on;
                break;
            case ButtonRole::Tab:
                state.selectable = true;
                state.selected = on;
                break;
            case ButtonRole::Push:
                break;
        }
        // A picture kept outside the window, where the designs park it, is never seen.
        const QWidget* parent = widget()->parentWidget();
        if (parent && !parent->rect().intersects(widget()->geometry()))
            state.invisible = state.offscreen = true;
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    PictureButton* button() const { return static_cast<PictureButton*>(widget()); }
};

// A text link is read out by its text, as the button or link it acts as.
class AccessibleTextLink : public QAccessibleWidget {
public:
    explicit AccessibleTextLink(TextLink* link) : QAccessibleWidget(link, link->role()) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<TextLink*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            emit static_cast<TextLink*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

// Says nothing of its own: a picture of the artwork, an entry box's frame, the caption of a
// picture button, whose name the button already carries, or a picture beside the text action
// that stands for it.
bool isSilent(const QWidget* child, const std::set<const QWidget*>& buttonCaptions) {
    if (const auto* button = qobject_cast<const PictureButton*>(child))
        return button->focusPolicy() == Qt::NoFocus &&
               qobject_cast<const TextLink*>(button->caption());
    const auto* label = qobject_cast<const QLabel*>(child);
    if (!label || qobject_cast<const TextLink*>(label)) return false;
    return buttonCaptions.count(label) != 0 ||
           (label->text().isEmpty() && label->pixmap().isNull());
}

// A page, or a panel of one (a tab's controls), read out with only the children that say
// something. A page is a window (a frame) or a dialog, so that readers announce it when it opens.
class AccessibleSurface : public QAccessibleWidget {
public:
    AccessibleSurface(QWidget* surface, QAccessible::Role role)
        : QAccessibleWidget(surface, role) {}

    int childCount() const override { return static_cast<int>(spokenChildren().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QWidget*> children = spokenChildren();
        if (index < 0 || static_cast<size_t>(index) >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children[static_cast<size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        const std::vector<QWidget*> children = spokenChildren();
        const auto found = std::find(children.begin(), children.end(), child->object());
        return found == children.end() ? -1 : static_cast<int>(found - children.begin());
    }

private:
    std::vector<QWidget*> spokenChildren() const {
        std::set<const QWidget*> buttonCaptions;
        for (const PictureButton* button : widget()->window()->findChildren<PictureButton*>())
            if (button->caption()) buttonCaptions.insert(button->caption());
        std::vector<QWidget*> spoken;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !isSilent(child, buttonCaptions))
                spoken.push_back(child);
        }
        return spoken;
    }
};

QAccessibleInterface* accessibleControl(const QString& className, QObject* object) {
    if (className == QLatin1String(SkinnedPage::staticMetaObject.className())) {
        auto* page = static_cast<SkinnedPage*>(object);
        return new AccessibleSurface(page,
                                     page->isDialog() ? QAccessible::Dialog : QAccessible::Window);
    }
    // A plain widget on a page groups controls: a tab's panel.
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->metaObject() == &QWidget::staticMetaObject &&
        qobject_cast<SkinnedPage*>(widget->parentWidget()))
        return new AccessibleSurface(widget, QAccessible::Client);
    if (className == QLatin1String(PictureButton::staticMetaObject.className()))
        return new AccessiblePictureButton(static_cast<PictureButton*>(object));
    if (className == QLatin1String(TextLink::staticMetaObject.className()))
        return new AccessibleTextLink(static_cast<TextLink*>(object));
    return nullptr;
}

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleControl);
        return true;
    }();
    Q_UNUSED(installed);
}

void tellCheckedStateChanged(QObject* control, ButtonRole role) {
    QAccessible::State changed;
    if (role == ButtonRole::Tab)
        changed.selected = true;
    else
        changed.checked = true;
    QAccessibleStateChangeEvent event(control, changed);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

PictureList numberedPictures(const QString& prefix, const QString& skin, int count) {
    PictureList pictures;
    for (int number = 0; number < count; ++number)
        pictures.push_back(
            {prefix + QString::number(number), skin + QStringLiteral("_%1").arg(number)});
    return pictures;
}

bool PictureSet::shows(const QString& name) const {
    return shown_ >= 0 && static_cast<size_t>(shown_) < pictures_.size() &&
           pictures_[static_cast<size_t>(shown_)].name == name;
}

void PictureSet::paint(QWidget* control) const {
    if (shown_ < 0 || static_cast<size_t>(shown_) >= pictures_.size()) return;
    QPainter painter(control);
    painter.drawPixmap(control->rect(), skinPicture(pictures_[static_cast<size_t>(shown_)].skin,
                                                    control->size(), control->devicePixelRatioF()));
}

QFont captionFont(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    return font;
}

Caption::Caption(QWidget* page, const QString& objectName, QRect geometry,
                 const QString& designText, double pointSize)
    : QLabel(designText, page) {
    // Captions come from language files: a "<" in one is text, never markup.
    setTextFormat(Qt::PlainText);
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

void Caption::setCaption(const std::string& text) {
    setText(qs(text));
    if (field_) field_->setAccessibleName(this->text());
}

void Caption::labelFor(QWidget* field) {
    field_ = field;
    field_->setAccessibleName(text());
}

void Caption::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit hovered();
}

void Caption::mousePressEvent(QMouseEvent* event) { event->accept(); }

void Caption::mouseReleaseEvent(QMouseEvent* event) {
    if (isClick(this, event)) emit clicked();
}

TextLink::TextLink(QWidget* page, const QString& objectName, QRect geometry,
                   const QString& designText, double pointSize, QAccessible::Role role)
    : Caption(page, objectName, geometry, designText, pointSize), role_(role) {
    installAccessibility();
    // Only the keyboard gives it the focus: a click acts and leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

void TextLink::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(event)) {
        Caption::keyPressEvent(event);
        return;
    }
    event->accept();
    emit clicked();
}

PictureButton::PictureButton(QWidget* page, const QString& objectName, QRect geometry,
                             PictureList pictures, Caption* caption, ButtonRole role)
    : QAbstractButton(page), pictures_(std::move(pictures)), caption_(caption), role_(role) {
    installAccessibility();
    setObjectName(objectName);
    setGeometry(geometry);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setProperty("Tag", QStringLiteral("0"));
}

void PictureButton::setTag(const QString& tag) {
    const bool wasOn = this->tag() == QLatin1String("1");
    setProperty("Tag", tag);
    if (role_ != ButtonRole::Push && wasOn != (tag == QLatin1String("1")))
        tellCheckedStateChanged(this, role_);
}

void PictureButton::showPicture(int index) {
    if (index == pictures_.shown()) return;
    pictures_.show(index);
    update();
}

void PictureButton::paintEvent(QPaintEvent*) { pictures_.paint(this); }

void PictureButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    emit entered();
}

void PictureButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    emit left();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    event->accept();  // a move over a control is not a move over the window background
    emit moved();
}

// Only the left button acts; no other press reaches the window below.
void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mousePressEvent(event);
    else
        event->accept();
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(event)) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    event->accept();
    click();
}

SkinImage::SkinImage(QWidget* page, const QString& objectName, QRect geometry, PictureList pictures)
    : QLabel(page), pictures_(std::move(pictures)) {
    setObjectName(objectName);
    setGeometry(geometry);
}

void SkinImage::showPicture(int index) {
    if (index == pictures_.shown()) return;
    pictures_.show(index);
    update();
}

void SkinImage::paintEvent(QPaintEvent*) { pictures_.paint(this); }

}  // namespace twk
