#include "core/app/app_context.h"

#include "core/app/maker.h"

namespace twk {

AppContext::AppContext(platform::Roots roots_, std::string programFolder_, std::string userFolder_,
                       Services services_)
    : roots(std::move(roots_)),
      programFolder(std::move(programFolder_)),
      userFolder(std::move(userFolder_)),
      services(services_),
      updateUrl(std::string(maker::kUpdateServer) + maker::kVersionFilePath),
      mainOp(Regedit::RootKey(roots.configDir), programFolder) {}

void startUp(AppContext& context) {
    context.mainOp.isNew(context.updateUrl, context.userFolder, context.services.messages,
                         context.services.urls);
    context.mainOp.Init();
    // The colours come before the captions: loading the captions loads the report page, which
    // already colours its selected view.
    context.HighlightColor = rgb(150, 150, 150);
    context.NormalColor = rgb(72, 72, 72);
    context.langOp.Init(context.mainOp);
}

}  // namespace twk
