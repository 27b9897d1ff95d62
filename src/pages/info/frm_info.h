#pragma once

#include "pages/app/skinned_page.h"

namespace twk {

class Navigator;

// The about page: the product artwork, links to the support page and the home page, the
// Facebook and Twitter buttons, Ok and close.
class frmInfo : public SkinnedPage {
    Q_OBJECT
public:
    frmInfo(AppContext& context, Navigator& navigator);

    // Puts the caption table's texts on the two links and the language's texts on the artwork;
    // "Ok" keeps its fixed text.
    void Form_Load();

private:
    Navigator& navigator_;
};

}  // namespace twk
