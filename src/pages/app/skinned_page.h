#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/design/design.h"
#include "pages/app/controls.h"

namespace twk {

class AppContext;

// A design's place for control, in pixels.
QRect placeOf(const design::Control& control);

// A borderless window drawn by its background picture. It owns the three patterns every page
// shares: the hover button, the text link and the window drag.
class SkinnedPage : public QWidget {
    Q_OBJECT
public:
    SkinnedPage(AppContext& context, const QString& objectName, const QString& backgroundSkin,
                QSize clientTwips);
    // The window of a design; its controls come with buildDesign.
    SkinnedPage(AppContext& context, const design::Page& design);

    AppContext& context() const { return context_; }

    // The hover look: the highlighted picture and HighlightColor on the caption while on, the
    // normal picture and NormalColor otherwise.
    void showHover(PictureButton* button, bool on);
    // Hover button: the hover look on while the pointer is over the button.
    void attachHover(PictureButton* button);
    // A picture button with the pictures <holderPrefix>0 and <holderPrefix>1, drawn from the skin
    // pictures <skin>_0 and <skin>_1, by the hover pattern.
    PictureButton* addHoverButton(const char* name, const char* holderPrefix, const char* skin,
                                  QRect geometry, Caption* caption = nullptr);
    // The close button at the top right of a page; Escape and closing the window do what it
    // does.
    PictureButton* addCloseButton(QRect geometry);
    // Text link: highlighted while the pointer moves over it, back to NormalColor when the
    // pointer moves over the window background.
    void addTextLink(TextLink* link);
    // A text of the window's artwork (no control of its own): part of the window surface, in the
    // given colour.
    Caption* addDesignText(const char* name, QRect geometry, double pointSize, ColorRef color);
    // Tab and Shift+Tab go through the controls in this order.
    static void setFocusOrder(std::initializer_list<QWidget*> controls);

    // Makes the design's controls of the kinds every page shares, in the design's order, and
    // puts them in its focus order; the page makes the others itself before.
    void buildDesign();
    // The control of the design made for control; null for a kind the page makes itself.
    QWidget* addControl(const design::Control& control);
    // Runs handler when the design's button or text link name is clicked.
    void onClick(std::string_view name, std::function<void()> handler);
    // Puts the caption table's text on every caption, text link and design text that has one.
    void showCaptions(const LangOp& captions);
    template <typename T = PictureButton>
    T* control(std::string_view name) const {
        return findChild<T*>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }

    void centerOnScreen();
    // Brings a window dragged (almost) off the screen back whole inside the screen's available
    // area, before it is shown again.
    void moveInsideScreen();

    // Read out as a dialog rather than a window.
    bool isDialog() const { return dialog_; }

    // An error box now when the page shows, else as soon as it shows: a box with no window
    // behind it stands alone on the desktop before the user asked for anything.
    void showErrorWhenVisible(const std::string& text);

signals:
    // The pointer moved over the window's own surface.
    void backgroundMouseMoved();

protected:
    void markAsDialog() { dialog_ = true; }
    // Makes a control the page makes in its own way (a kind only it has, or one it builds
    // differently); null to have the shared one made.
    virtual QWidget* makeOwnControl(const design::Control&) { return nullptr; }
    // The widget a control of the design lies on: the page, or a tab's panel.
    virtual QWidget* parentFor(const design::Control&) { return this; }

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* makeSharedControl(const design::Control& control);
    void beginDrag();
    void showPendingError();
    void paintFocusMark(QPainter& painter) const;

    AppContext& context_;
    const design::Page* design_ = nullptr;
    QString background_;
    PictureButton* closeButton_ = nullptr;
    std::vector<TextLink*> textLinks_;
    // Hover buttons that only a move over the surface puts back to normal.
    std::vector<PictureButton*> surfaceResetButtons_;
    std::string pendingError_;
    bool dialog_ = false;
    bool dragPending_ = false;  // pressed on the surface, not moved yet
    bool manualDrag_ = false;
    QPoint dragOffset_;
};

}  // namespace twk
