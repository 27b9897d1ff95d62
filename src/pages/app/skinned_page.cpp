#include "pages/app/skinned_page.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "core/app/app_context.h"
#include "pages/app/entry_box.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"

namespace twk {
namespace {

// The skin's frame colour, which also marks the control that has the keyboard focus.
const QColor kFocusMarkColor(14, 107, 112);
constexpr int kFocusMarkMargin = 3;

// The light colours the skin is drawn for: lists, tables and boxes inside a page keep them
// under any desktop palette, a dark one included.
QPalette skinPalette() {
    const QColor window(239, 239, 239);
    QPalette palette(Qt::black, window, window.lighter(150), window.darker(150), window.darker(130),
                     Qt::black, Qt::white);
    palette.setColor(QPalette::Midlight, window.darker(130).lighter(110));
    palette.setColor(QPalette::Shadow, window.darker(150).darker(135));
    palette.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Link, QColor(0, 0, 255));
    QColor placeholder(Qt::black);
    placeholder.setAlpha(128);
    palette.setColor(QPalette::PlaceholderText, placeholder);
    const QColor disabledText(190, 190, 190);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(145, 141, 126));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 141, 126));
    return palette;
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment alignmentOf(const design::Control& control) {
    const Qt::Alignment horizontal = control.hAlign == design::HAlign::Center  ? Qt::AlignHCenter
                                     : control.hAlign == design::HAlign::Right ? Qt::AlignRight
                                                                               : Qt::AlignLeft;
    return horizontal | (control.vAlign == design::VAlign::Top ? Qt::AlignTop : Qt::AlignVCenter);
}

PictureList picturesOf(const design::Control& control) {
    if (control.pictures == 1) return {{latin1(control.holder), latin1(control.skin)}};
    return numberedPictures(latin1(control.holder), latin1(control.skin), control.pictures);
}

}  // namespace

SkinnedPage::SkinnedPage(AppContext& context, const QString& objectName,
                         const QString& backgroundSkin, QSize clientTwips)
    // A tool window stays out of the task list, as the program's windows should.
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), context_(context) {
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("Tarnwick"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setFixedSize(twipsSize(clientTwips.width(), clientTwips.height()));
    setPalette(skinPalette());
    background_ = backgroundSkin;
    setWindowIcon(skinIcon(QStringLiteral("app_icon"), QSize(64, 64)));
    // The focus mark follows the keyboard focus within this window.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if ((old && old->window() == this) || (now && now->window() == this)) update();
    });
}

QRect placeOf(const design::Control& control) {
    const design::Rect& r = control.rect;
    return twipsRect(r.left, r.top, r.width, r.height);
}

SkinnedPage::SkinnedPage(AppContext& context, const design::Page& design)
    : SkinnedPage(context, latin1(design.window), latin1(design.background),
                  QSize(design.client.width, design.client.height)) {
    design_ = &design;
}

void SkinnedPage::buildDesign() {
    for (const design::Control& control : design_->controls) {
        QWidget* made = addControl(control);
        // Only the controls of the focus order take it.
        if ((qobject_cast<PictureButton*>(made) || qobject_cast<TextLink*>(made)) &&
            !design::takesFocus(*design_, control.name))
            made->setFocusPolicy(Qt::NoFocus);
    }
    QWidget* previous = nullptr;
    for (std::string_view name : design_->focusOrder) {
        QWidget* next = control<QWidget>(name);
        if (previous) setTabOrder(previous, next);
        previous = next;
    }
}

QWidget* SkinnedPage::addControl(const design::Control& control) {
    QWidget* made = makeOwnControl(control);
    if (!made) made = makeSharedControl(control);
    if (!made) return nullptr;
    if (!control.spokenName.empty()) made->setAccessibleName(latin1(control.spokenName));
    if (!control.label.empty() && !qobject_cast<PictureButton*>(made))
        if (auto* label = this->control<Caption>(control.label)) label->labelFor(made);
    return made;
}

QWidget* SkinnedPage::makeSharedControl(const design::Control& control) {
    const QString name = latin1(control.name);
    QWidget* parent = parentFor(control);
    Caption* label = control.label.empty() ? nullptr : this->control<Caption>(control.label);
    switch (control.kind) {
        case design::Kind::HoverButton:
        case design::Kind::CloseButton: {
            auto* button =
                new PictureButton(parent, name, placeOf(control), picturesOf(control), label);
            // A text link that names the button lights it too.
            if (auto* link = qobject_cast<TextLink*>(label))
                connect(link, &Caption::hovered, this, [this, button] { showHover(button, true); });
            if (control.hoverEnd == design::HoverEnd::Leave) {
                attachHover(button);
            } else {
                connect(button, &PictureButton::entered, this,
                        [this, button] { showHover(button, true); });
                surfaceResetButtons_.push_back(button);
            }
            if (control.kind == design::Kind::CloseButton) closeButton_ = button;
            return button;
        }
        case design::Kind::PictureButton:
            return new PictureButton(parent, name, placeOf(control), picturesOf(control), label);
        case design::Kind::PictureCheckBox:
        case design::Kind::RadioButton:
        case design::Kind::Tab:
            return new PictureButton(parent, name, placeOf(control), picturesOf(control), label,
                                     control.kind == design::Kind::Tab ? ButtonRole::Tab
                                     : control.kind == design::Kind::RadioButton
                                         ? ButtonRole::RadioButton
                                         : ButtonRole::CheckBox);
        case design::Kind::CaptionLabel:
        case design::Kind::DesignText: {
            auto* caption = new Caption(parent, name, placeOf(control), latin1(control.text),
                                        control.pointSize);
            caption->setTextColor(control.color);
            caption->setAlignment(alignmentOf(control));
            // Only a button's caption takes the pointer; the others are part of the window
            // surface, so the drag and the link reset work over them.
            if (!design::namesAButton(*design_, control.name))
                caption->setAttribute(Qt::WA_TransparentForMouseEvents);
            return caption;
        }
        case design::Kind::TextLink: {
            auto* link = new TextLink(
                parent, name, placeOf(control), latin1(control.text), control.pointSize,
                control.spokenRole == design::SpokenRole::Link ? QAccessible::Link
                                                               : QAccessible::Button);
            link->setAlignment(alignmentOf(control));
            addTextLink(link);
            return link;
        }
        case design::Kind::Picture: {
            // Part of the window surface: the drag and the link reset work over it.
            auto* picture = new SkinImage(parent, name, placeOf(control), picturesOf(control));
            picture->setAttribute(Qt::WA_TransparentForMouseEvents);
            return picture;
        }
        case design::Kind::OneLineBox:
            return makeOneLineBox(parent, name, placeOf(control), latin1(control.frame));
        case design::Kind::MultiLineBox: {
            auto* box = new QPlainTextEdit(parent);
            box->setObjectName(name);
            box->setFrameShape(QFrame::NoFrame);
            styleEntryBox(box);
            placeInTextFrame(box, placeOf(control));
            box->setTabChangesFocus(true);
            return box;
        }
        case design::Kind::ComboBox:
        case design::Kind::TimeBox:
        case design::Kind::ListView:
            break;
    }
    return nullptr;
}

void SkinnedPage::onClick(std::string_view name, std::function<void()> handler) {
    QWidget* clicked = control<QWidget>(name);
    if (auto* button = qobject_cast<PictureButton*>(clicked))
        connect(button, &PictureButton::clicked, this, std::move(handler));
    else if (auto* caption = qobject_cast<Caption*>(clicked))
        connect(caption, &Caption::clicked, this, std::move(handler));
}

void SkinnedPage::showCaptions(const LangOp& captions) {
    for (const design::Control& control : design_->controls) {
        if (control.spoken)
            if (auto* widget = this->control<QWidget>(control.name))
                widget->setAccessibleName(qs(captions.*control.spoken));
        if (!control.caption) continue;
        if (auto* caption = this->control<Caption>(control.name))
            caption->setCaption(captions.*control.caption);
    }
}

void SkinnedPage::showHover(PictureButton* button, bool on) {
    button->showPicture(design::hoverPicture(on));
    if (button->caption())
        button->caption()->setTextColor(on ? context_.HighlightColor : context_.NormalColor);
}

void SkinnedPage::attachHover(PictureButton* button) {
    connect(button, &PictureButton::entered, this, [this, button] { showHover(button, true); });
    connect(button, &PictureButton::left, this, [this, button] { showHover(button, false); });
}

PictureButton* SkinnedPage::addHoverButton(const char* name, const char* holderPrefix,
                                           const char* skin, QRect geometry, Caption* caption) {
    auto* button =
        new PictureButton(this, name, geometry, numberedPictures(holderPrefix, skin, 2), caption);
    attachHover(button);
    return button;
}

PictureButton* SkinnedPage::addCloseButton(QRect geometry) {
    closeButton_ = addHoverButton("cmd_close", "cmd_close", "close", geometry);
    closeButton_->setAccessibleName(qs(context_.langOp.lfm_spk_close));
    return closeButton_;
}

// Closed by the window manager (Alt+F4, its Close), a page does what its close button does:
// merely hidden, it would leave the user without a way back.
void SkinnedPage::closeEvent(QCloseEvent* event) {
    if (!closeButton_) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    emit closeButton_->clicked();
}

void SkinnedPage::setFocusOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) setTabOrder(previous, control);
        previous = control;
    }
}

void SkinnedPage::addTextLink(TextLink* link) {
    textLinks_.push_back(link);
    connect(link, &Caption::hovered, this,
            [this, link] { link->setTextColor(context_.HighlightColor); });
}

Caption* SkinnedPage::addDesignText(const char* name, QRect geometry, double pointSize,
                                    ColorRef color) {
    auto* text = new Caption(this, name, geometry, QString(), pointSize);
    text->setTextColor(color);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    return text;
}

void SkinnedPage::centerOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SkinnedPage::moveInsideScreen() {
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    if (!screen) screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    // A window larger than the area keeps its top left corner inside.
    const auto inside = [](int at, int first, int length, int room) {
        return std::max(first, std::min(at, first + room - length));
    };
    const QPoint place(inside(frame.x(), area.x(), frame.width(), area.width()),
                       inside(frame.y(), area.y(), frame.height(), area.height()));
    if (place != frame.topLeft()) move(place);
}

void SkinnedPage::showErrorWhenVisible(const std::string& text) {
    if (isVisible()) {
        showError(context_.services.messages, text);
        return;
    }
    pendingError_ = text;
}

void SkinnedPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The control that has the focus shows it at once, not only after the first Tab: Enter acts
    // on it.
    setAttribute(Qt::WA_KeyboardFocusChange);
    // Once the page has come up, so that the box stands over it and takes the keyboard.
    if (!pendingError_.empty())
        QMetaObject::invokeMethod(this, &SkinnedPage::showPendingError, Qt::QueuedConnection);
}

void SkinnedPage::showPendingError() {
    if (!isVisible() || pendingError_.empty()) return;
    showError(context_.services.messages, std::exchange(pendingError_, std::string()));
}

void SkinnedPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), skinPicture(background_, size(), devicePixelRatioF()));
    paintFocusMark(painter);
}

// A rounded frame around the focused picture button and its caption, the focused text link or
// the frame of the focused entry box, from the moment the window shows.
void SkinnedPage::paintFocusMark(QPainter& painter) const {
    QWidget* focused = focusWidget();
    if (!focused || !focused->isVisible() || !testAttribute(Qt::WA_KeyboardFocusChange)) return;
    // A caption's label may be wider than its text: the mark goes round the text.
    auto textPlace = [this](const QLabel* label) {
        const QRect text =
            label->style()->itemTextRect(label->fontMetrics(), label->contentsRect(),
                                         static_cast<int>(label->alignment()), true, label->text());
        return QRect(label->mapTo(this, text.topLeft()), text.size());
    };
    QRect place;
    if (auto* button = qobject_cast<PictureButton*>(focused)) {
        place = QRect(button->mapTo(this, QPoint(0, 0)), button->size());
        if (button->caption() && button->caption()->isVisible())
            place |= textPlace(button->caption());
    } else if (auto* link = qobject_cast<TextLink*>(focused)) {
        place = textPlace(link);
    } else if (const QWidget* frame = textFrameOf(focused)) {
        // Round an entry box's frame: its caret alone is easily missed.
        place = QRect(frame->mapTo(this, QPoint(0, 0)), frame->size());
    } else {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kFocusMarkColor, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(place).adjusted(-kFocusMarkMargin, -kFocusMarkMargin,
                                                   kFocusMarkMargin, kFocusMarkMargin),
                            4, 4);
}

void SkinnedPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && closeButton_) {
        closeButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SkinnedPage::mousePressEvent(QMouseEvent* event) {
    // A press on the surface, or on a disabled control, takes the focus off every box: what the
    // user types next must not land in a box they did not click.
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        dragPending_ = true;
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
        setCursor(Qt::SizeAllCursor);
    }
}

// The window follows the pointer itself until the release wherever it may place itself: an X11
// window manager handed the move misses a release that comes before it grabs the pointer (a tap,
// a quick flick) and keeps the window stuck to the pointer. Wayland windows cannot place
// themselves; there the compositor moves them, and only while the button is still held.
void SkinnedPage::beginDrag() {
    dragPending_ = false;
    const bool compositorMoves =
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    QWindow* window = windowHandle();
    manualDrag_ = !(compositorMoves && window && window->startSystemMove());
    if (!manualDrag_) unsetCursor();
}

void SkinnedPage::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        if (dragPending_) beginDrag();
        if (manualDrag_) {
            move(event->globalPosition().toPoint() - dragOffset_);
            return;
        }
    }
    for (TextLink* link : textLinks_) link->setTextColor(context_.NormalColor);
    for (PictureButton* button : surfaceResetButtons_) showHover(button, false);
    emit backgroundMouseMoved();
}

void SkinnedPage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragPending_ = false;
    manualDrag_ = false;
    unsetCursor();
}

}  // namespace twk
