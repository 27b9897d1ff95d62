#include "pages/app/application.h"

#include "pages/app/page_registry.h"
#include "platform/program_folder.h"
#include "platform/user_files.h"

namespace twk {

Application::Application()
    : helper_(platform::programFolder()),
      context_(platform::Roots::fromEnvironment(), platform::programFolder(),
               platform::userFilesFolder(),
               Services{messages_, saveFile_, folders_, urls_, helper_, clock_}),
      navigator_(std::make_unique<Navigator>(context_, tray_)) {
    registerPages(*navigator_);
}

}  // namespace twk
