// corvane.exe: the application object, the four windows (hidden, the main window first), the
// message loop; then the windows go (and with them the socket stack), and Windows Sockets is
// cleaned up and unloaded. The exit status is 0 whatever happened.
#include "base/Exception.h"
#include "base/WinApi.h"
#include "net/IdStackWindows.h"
#include "ui/About_win.h"
#include "ui/Application_win.h"
#include "ui/BroadCastCalc_win.h"
#include "ui/Dispatch_win.h"
#include "ui/Unit1_win.h"
#include "ui/addrbook_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    {
        TApplication application;
        application.SetTitle("CorVane");
        try {
            application.CreateForm<TForm1>();
            application.CreateForm<TForm2>();
            application.CreateForm<TAboutBox>();
            application.CreateForm<TForm3>();
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
