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
    void buildLinks();
    void buildButtons();
    void backToMain();
    void openFeedback();
    void openAddress(const char* address);

    Navigator& navigator_;
    TextLink* txtMail_ = nullptr;
    TextLink* txtHome_ = nullptr;
    TextLink* txtOk_ = nullptr;
    Caption* lblTagline_ = nullptr;
    Caption* lblVersion_ = nullptr;
};

}  // namespace twk
