// MApp::Exit: the shutdown order. Settings are not saved here; they are saved where they
// change.
#include "app/app.h"
#include "app/jabber_wnd.h"
#include "location/serial_reader.h"

void MApp::Exit() {
  if (g_exiting.exchange(true)) {
    return;  // already on its way out
  }
  HWND frame = mainFrame != nullptr ? mainFrame->GetHwnd() : nullptr;
  ShowWindow(frame, SW_HIDE);  // 1
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  // 2: the exiting flag is set above.
  if (shutdownEvent != nullptr) {  // 3
    shutdownEvent->Signal();
  }
  routes_->StopLocation();      // joined before the logout, so it sends nothing after it
  SerialReader::Destroy();      // the receiver's reader thread is joined, its port closed
  if (routes_->HasSession()) {  // 4
    routes_->Logout();
  }
  threads.WaitForThreads();     // 5: five one-second waits for each thread
  mutexes.ReleaseAppMutexes();  // 6
  if (debugLog != nullptr) {
    debugLog->End();
  }
  SetCursor(previous);  // 7: the frame answers its destruction by posting the quit message
  DestroyWindow(frame);
}
