#pragma once

#include <QPoint>
#include <QWidget>
#include <string>
#include <vector>

#include "pages/app/controls.h"

namespace twk {

class AppContext;

// A borderless window drawn by its background picture. It owns the three patterns every page
// shares: the hover button, the text link and the window drag.
class SkinnedPage : public QWidget {
    Q_OBJECT
public:
    SkinnedPage(AppContext& context, const QString& objectName, const QString& backgroundSkin,
                QSize clientTwips);

    AppContext& context() const { return context_; }

    // Hover button: the highlighted picture and HighlightColor on enter, the normal picture and
    // NormalColor on leave.
    void attachHover(PictureButton* button, QLabel* normal, QLabel* highlighted,
                     Caption* caption = nullptr);
    // A picture button with its two hidden picture holders <holderPrefix>0 and <holderPrefix>1,
    // showing the skin pictures <skin>_0 and <skin>_1 by the hover pattern.
    PictureButton* addHoverButton(const char* name, const char* holderPrefix, const char* skin,
                                  QRect geometry, Caption* caption = nullptr);
    // The close button at the top right of a page; closing the window does what it does.
    PictureButton* addCloseButton(QRect geometry);
    // Text link: highlighted while the pointer moves over it, back to NormalColor when the
    // pointer moves over the window background.
    void addTextLink(Caption* link);
    // A text of the window's artwork (no control of its own): part of the window surface, in the
    // given colour.
    Caption* addDesignText(const char* name, QRect geometry, double pointSize, ColorRef color);

    void centerOnScreen();

    // An error box now when the page shows, else as soon as it shows: a box with no window
    // behind it stands alone on the desktop before the user asked for anything.
    void showErrorWhenVisible(const std::string& text);

signals:
    // The pointer moved over the window's own surface.
    void backgroundMouseMoved();

protected:
    // A mouse-down on the window surface after the drag, in twips as the designs measure.
    virtual void onBackgroundMouseDown(Qt::MouseButton, float, float) {}

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void beginDrag();
    void showPendingError();

    AppContext& context_;
    QPixmap background_;
    std::vector<Caption*> textLinks_;
    PictureButton* closeButton_ = nullptr;
    std::string pendingError_;
    bool dragPending_ = false;  // pressed on the surface, not moved yet
    bool manualDrag_ = false;
    QPoint dragOffset_;
};

}  // namespace twk
