#include "core/app/app_context.h"

#include "core/app/maker.h"
#include "core/reports/report_view_layout.h"
#include "core/reports/send_report_flow.h"
#include "platform/files.h"
#include "platform/program_folder.h"
#include "platform/user_files.h"

namespace twk {

AppContext::AppContext(platform::Roots roots_, std::string programFolder_, std::string userFolder_,
                       std::string settingsFolder_, Services services_, SettingsWriter writer)
    : roots(std::move(roots_)),
      programFolder(std::move(programFolder_)),
      userFolder(std::move(userFolder_)),
      settingsFolder(std::move(settingsFolder_)),
      services(services_),
      updateUrl(std::string(maker::kUpdateServer) + maker::kVersionFilePath),
      mainOp(Regedit::RootKey(roots.configDir), programFolder,
             writer ? std::move(writer)
                    : directSettingsWriter(systemSaveTarget(roots, programFolder))) {}

AppContext machineContext(Services services, WaitRunner run) {
    const platform::Roots roots = platform::Roots::system();
    const std::string programFolder = platform::programFolder();
    SettingsWriter writer = machineSettingsWriter(roots, programFolder);
    return AppContext(roots, programFolder, platform::userFilesFolder(),
                      platform::userSettingsFolder(), services,
                      [writer = std::move(writer), run](const SaveRequest& request) {
                          return waitWith(run, [&] { return writer(request); });
                      });
}

void startUp(AppContext& context) {
    // Runs killed while they wrote the mailed report or the store left their temporary files
    // (the store's go only where this user may write; else at the settings helper's next save).
    // The update check clears version.dat's.
    platform::removeLeftoverTemporaries(platform::joinPath(context.userFolder, kManualReportFile));
    TakeOverReportViewLayout(context.userFolder, context.settingsFolder);
    context.mainOp.root().clearLeftovers(kSettingsKey);
    context.mainOp.Init();
    // The colours come before the captions: loading the captions loads the report page, which
    // already colours its selected view.
    context.HighlightColor = rgb(150, 150, 150);
    context.NormalColor = rgb(72, 72, 72);
    context.langOp.Init(context.mainOp);
    // After the captions, so that the question comes in the user's language; it still comes
    // before the main window shows.
    context.mainOp.isNew(context.updateUrl, context.userFolder, context.services.messages,
                         context.services.urls, context.langOp);
}

}  // namespace twk
