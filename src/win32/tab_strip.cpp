#include "win32/tab_strip.h"

#include "core/app/app_context.h"
#include "win32/page.h"

namespace twk::win32 {

TabStrip::TabStrip(SkinnedPage& page, Picture& marker) : page_(page), marker_(marker) {}

void TabStrip::add(PictureButton& tab) { tabs_.push_back({&tab, "0"}); }

void TabStrip::light(PictureButton& tab, bool lit) {
    tab.showPicture(design::hoverPicture(lit));
    if (tab.caption())
        tab.caption()->setTextColor(lit ? page_.context().HighlightColor
                                        : page_.context().NormalColor);
}

void TabStrip::select(PictureButton& tab) {
    for (Entry& entry : tabs_) entry.tag = entry.tab == &tab ? "1" : "0";
    light(tab, true);
    design::Rect place = marker_.design().rect;
    place.left = tab.design().rect.left - design::kTabMarkerOffset;
    marker_.moveTo(place);
    ::ShowWindow(marker_.hwnd(), SW_SHOWNA);
}

void TabStrip::hover(PictureButton& tab, bool on) {
    if (!on && tag(tab) != "0") return;
    light(tab, on);
}

void TabStrip::leaveAll() {
    for (Entry& entry : tabs_) hover(*entry.tab, false);
}

void TabStrip::clear() {
    for (Entry& entry : tabs_) {
        entry.tag = "0";
        light(*entry.tab, false);
    }
}

const std::string& TabStrip::tag(const PictureButton& tab) const {
    static const std::string none;
    for (const Entry& entry : tabs_)
        if (entry.tab == &tab) return entry.tag;
    return none;
}

}  // namespace twk::win32
