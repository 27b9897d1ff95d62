#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include "platform/reasons.h"
#include "win32/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The shell's pickers and ShellExecute want a single-threaded apartment.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    platform::SystemLogSink journal;
    platform::setReasonSink(&journal);
    twk::win32::Application tarnwick;
    twk::startUp(tarnwick.context());
    if (!tarnwick.main().Form_Load()) return 0;
    tarnwick.navigator().showMain();
    return tarnwick.run();
}
