#include "win32/frm_info.h"

#include "core/app/app_context.h"
#include "core/design/info_design.h"
#include "win32/navigator.h"

namespace twk::win32 {

namespace info_page = design::info_page;

frmInfo::frmInfo(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, info_page::kPage) {
    for (const design::ButtonAction& entry : info_page::kActions)
        onClick(entry.control, [&navigator, action = entry.action] {
            navigator.run(action, design::PageId::Info);
        });
    onClose = [&navigator] { navigator.run(info_page::kBackToMain, design::PageId::Info); };
    Form_Load();
}

void frmInfo::Form_Load() {
    applyCaptions();
    label("lblVersion").setCaption(info_page::versionText(context().langOp));
}

}  // namespace twk::win32
