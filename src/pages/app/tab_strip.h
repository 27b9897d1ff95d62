#pragma once

#include <QObject>
#include <QRect>
#include <functional>
#include <vector>

#include "pages/app/controls.h"

namespace twk {

class SkinnedPage;

// Tab buttons over a page's views, with the marker bar under the selected one. The selected tab's
// Tag is "1", every other tab's "0". A tab lights up while the pointer is over it or its caption
// and goes back to its normal look only while it is not selected.
class TabStrip : public QObject {
    Q_OBJECT
public:
    TabStrip(SkinnedPage& page, const QString& markerName, QRect markerGeometry);
    // Over the marker bar the page has made.
    TabStrip(SkinnedPage& page, SkinImage* marker);

    // A tab showing the pictures <holderPrefix>0 and <holderPrefix>1 (drawn from <skin>_0 and
    // <skin>_1); a click on it or its caption runs onClick.
    PictureButton* addTab(const QString& name, const QString& holderPrefix, const QString& skin,
                          QRect geometry, Caption* caption, std::function<void()> onClick);
    // A tab the page has made, with its caption.
    void addTab(PictureButton* tab, std::function<void()> onClick);

    void select(PictureButton* tab);
    // The pointer over the tab (on) or gone from it (off).
    void hover(PictureButton* tab, bool on);
    void leaveAll();
    // Every tab unselected and in its normal look.
    void clear();

    SkinImage* marker() const { return marker_; }

private:
    SkinnedPage& page_;
    SkinImage* marker_;
    std::vector<PictureButton*> tabs_;
};

}  // namespace twk
