// corvane.exe: the application object, the four windows (hidden, the main window first), the
// message loop; then the windows go (and with them the socket stack), and Windows Sockets is
// cleaned up and unloaded. The exit status is 0 whatever happened.
#include "base/Exception.h"
#include "base/WinApi.h"
#include "net/IdStackWindows.h"
#include "platform/Application_win.h"
#include "platform/Dispatch_win.h"
#include "ui/StartUp_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    {
        TApplication application;
        try {
            InitializeProgram(application);
            application.Run();
        } catch (const Exception& e) {
            // Start-up failed (Windows Sockets missing, say): say why instead of vanishing.
            ShowErrorBox(e.Message());
        }
        application.DestroyForms();
    }
    ShutdownWinsock();
    return 0;
}
