#include "pages/app/tab_strip.h"

#include "core/app/twips.h"
#include "core/design/design.h"
#include "pages/app/skinned_page.h"

namespace twk {
namespace {

constexpr const char* kTagOn = "1";
constexpr const char* kTagOff = "0";

}  // namespace

TabStrip::TabStrip(SkinnedPage& page, const QString& markerName, QRect markerGeometry)
    : TabStrip(page, new SkinImage(&page, markerName, markerGeometry,
                                   {{markerName, QStringLiteral("marker_line")}})) {
    // The bar belongs to the window surface: the drag and the hover reset work over it.
    marker_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

TabStrip::TabStrip(SkinnedPage& page, SkinImage* marker)
    : QObject(&page), page_(page), marker_(marker) {}

PictureButton* TabStrip::addTab(const QString& name, const QString& holderPrefix,
                                const QString& skin, QRect geometry, Caption* caption,
                                std::function<void()> onClick) {
    auto* tab = new PictureButton(&page_, name, geometry, numberedPictures(holderPrefix, skin, 2),
                                  caption, ButtonRole::Tab);
    addTab(tab, std::move(onClick));
    return tab;
}

void TabStrip::addTab(PictureButton* tab, std::function<void()> onClick) {
    Caption* caption = tab->caption();
    tabs_.push_back(tab);
    connect(tab, &PictureButton::clicked, this, onClick);
    connect(caption, &Caption::clicked, this, onClick);
    connect(tab, &PictureButton::entered, this, [this, tab] { hover(tab, true); });
    connect(caption, &Caption::hovered, this, [this, tab] { hover(tab, true); });
}

void TabStrip::select(PictureButton* tab) {
    for (PictureButton* each : tabs_)
        each->setTag(QString::fromLatin1(each == tab ? kTagOn : kTagOff));
    page_.showHover(tab, true);
    marker_->move(tab->x() - twipsToPixels(design::kTabMarkerOffset), marker_->y());
    marker_->show();
}

void TabStrip::hover(PictureButton* tab, bool on) {
    if (!on && tab->tag() != QLatin1String(kTagOff)) return;
    page_.showHover(tab, on);
}

void TabStrip::leaveAll() {
    for (PictureButton* tab : tabs_) hover(tab, false);
}

void TabStrip::clear() {
    for (PictureButton* tab : tabs_) {
        tab->setTag(QString::fromLatin1(kTagOff));
        page_.showHover(tab, false);
    }
}

}  // namespace twk
