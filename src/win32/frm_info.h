#pragma once

#include "win32/page.h"

namespace twk::win32 {

class Navigator;

// The about page: links to the support page and the home page, Facebook, Twitter, Ok and close.
class frmInfo : public SkinnedPage {
public:
    frmInfo(AppContext& context, Navigator& navigator);

    // Captions from the caption table, and the version line.
    void Form_Load();
};

}  // namespace twk::win32
