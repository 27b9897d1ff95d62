#include "pages/app/page_registry.h"

#include "pages/app/navigator.h"
#include "pages/options/frm_options.h"

namespace twk {

void registerPages(Navigator& navigator) {
    navigator.registerPage(PageId::Options,
                           [](Navigator& n) { return new frmOptions(n.context(), n); });
}

}  // namespace twk
