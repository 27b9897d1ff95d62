#include "pages/info/frm_info.h"

#include "core/app/app_context.h"
#include "core/design/info_design.h"
#include "pages/app/navigator.h"

namespace twk {

namespace info_page = design::info_page;

frmInfo::frmInfo(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, info_page::kPage), navigator_(navigator) {
    buildDesign();
    for (const design::ButtonAction& entry : info_page::kActions)
        onClick(entry.control,
                [this, action = entry.action] { navigator_.take(action, PageId::Info); });
    Form_Load();
    centerOnScreen();
}

void frmInfo::Form_Load() {
    showCaptions(context().langOp);
    control<Caption>("lblVersion")->setCaption(info_page::versionText(context().langOp));
}

}  // namespace twk
