#include "pages/app/application.h"

#include "pages/app/page_registry.h"
#include "pages/app/waiting.h"
#include "platform/program_folder.h"

namespace twk {

Application::Application()
    : helper_(platform::programFolder()),
      context_(machineContext(Services{messages_, saveFile_, folders_, urls_, helper_, clock_},
                              runWhileWaiting)),
      navigator_(std::make_unique<Navigator>(context_, tray_)) {
    registerPages(*navigator_);
}

}  // namespace twk
