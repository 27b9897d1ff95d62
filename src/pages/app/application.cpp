#include "pages/app/application.h"

#include "pages/app/page_registry.h"
#include "pages/app/waiting.h"
#include "platform/program_folder.h"
#include "platform/user_files.h"

namespace twk {
namespace {

// A save may wait for the desktop's authentication prompt: the windows keep painting meanwhile.
SettingsWriter waitingSettingsWriter(SettingsWriter writer) {
    return [writer = std::move(writer)](const SaveRequest& request) {
        return waitFor([&] { return writer(request); });
    };
}

}  // namespace

Application::Application()
    : helper_(platform::programFolder()),
      context_(platform::Roots::system(), platform::programFolder(), platform::userFilesFolder(),
               Services{messages_, saveFile_, folders_, urls_, helper_, clock_},
               waitingSettingsWriter(
                   machineSettingsWriter(platform::Roots::system(), platform::programFolder()))),
      navigator_(std::make_unique<Navigator>(context_, tray_)) {
    registerPages(*navigator_);
}

}  // namespace twk
