#pragma once

#include <string>
#include <vector>

#include "win32/controls.h"

namespace twk::win32 {

class SkinnedPage;

// Tab buttons over a page's views, with the marker bar under the selected one. The selected tab's
// tag is "1", every other's "0". A tab lights up while the pointer is over it or its caption and
// goes back to its normal look only while it is not selected.
class TabStrip {
public:
    TabStrip(SkinnedPage& page, Picture& marker);

    void add(PictureButton& tab);
    void select(PictureButton& tab);
    void hover(PictureButton& tab, bool on);
    void leaveAll();
    // Every tab unselected and in its normal look.
    void clear();
    const std::string& tag(const PictureButton& tab) const;

private:
    void light(PictureButton& tab, bool lit);

    SkinnedPage& page_;
    Picture& marker_;
    struct Entry {
        PictureButton* tab;
        std::string tag;
    };
    std::vector<Entry> tabs_;
};

}  // namespace twk::win32
