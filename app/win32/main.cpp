// The program's entry: OLE for the main thread, the application object and
// its title, the main window, the message loop until the window closes, then
// OLE's end after the window has gone.

#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/form1.h"
#include "platform/profile/codepage.h"
#include "platform/win32/services.h"
#include "ui/application.h"
#include "ui/win32/backend.h"
#include "ui/win32/handles.h"
#include "ui/win32/peers.h"
#include "upgrade/win32/native_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace qirelo;
    ui::win32::OleSession ole;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                                       ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    ui::win32::Backend backend;
    ui::Application application(backend);
    application.set_title(platform::gb("Qirelo在线客户端"));

    platform::win32::Win32Platform system;
    platform::Services services = system.services();
    // The upgrade check waits in MsgWaitForMultipleObjects, with a hidden
    // window of its own.
    auto form = std::make_unique<app::TForm1>(
        application, services, [](ui::Application& app, upgrade::MainThread& mainThread) {
            return std::make_unique<upgrade::win32::NativeUpdaterHost>(app, mainThread);
        });
    ui::win32::realize(backend, *form);
    application.set_main_form(*form);
    application.run();
    form.reset();
    return 0;
}
