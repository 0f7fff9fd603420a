// MJabberWnd's window procedure: the application messages and the command table.
#include <cstring>
#include <string>

#include "alerts/cap_alert_wnd.h"
#include "app/app.h"
#include "app/app_messages.h"
#include "app/jabber_wnd.h"
#include "platform/process.h"
#include "ui/wnd_stack.h"
#include "xml/text_convert.h"

LRESULT MJabberWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  LRESULT result = OnApplicationMessage(message, wParam, lParam, &handled);
  if (handled) {
    return result;
  }
  switch (message) {
    case WM_COPYDATA: {
      auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (data == nullptr || data->dwData != kCommandLineTag || data->lpData == nullptr) {
        break;
      }
      // The text ends at its NUL, and never beyond the data handed over.
      const char* text = static_cast<const char*>(data->lpData);
      std::string line(text, strnlen(text, data->cbData));
      app_->ParseCommandLine(mstring(line.c_str()));
      return TRUE;
    }
    case WM_SIZE:
      if (hwnd == hwnd_) {
        FitChildren();
      }
      break;
    case WM_CLOSE:
      // Closing the frame from the desktop is the Exit command, so threads end in order.
      if (hwnd == hwnd_ && !g_exiting.load()) {
        app_->Exit();
        return 0;
      }
      break;
    case WM_DESTROY:
      if (hwnd == hwnd_) {
        PostQuitMessage(18);
        return 0;
      }
      break;
    case WM_COMMAND:
      return OnCommand(hwnd, LOWORD(wParam), wParam, lParam);
    default:
      break;
  }
  return MWnd::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT MJabberWnd::OnApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                         bool* handled) {
  *handled = true;
  MAppRoutes& routes = app_->routes();
  switch (message) {
    case UM_ROSTER_ADD_ITEM:
      routes.RosterAddItem(lParam);
      return 0;
    case UM_ROSTER_REMOVE_ITEM:
      routes.RosterRemoveItem(lParam);
      return 0;
    case UM_ROSTER_ADD_GROUP:
      routes.RosterAddGroup(lParam);
      return 0;
    case UM_ROSTER_UPDATE_ITEM:
      routes.RosterUpdateItem(lParam);
      return 0;
    case UM_ROSTER_PRESENCE:
      routes.RosterPresence(lParam);
      return 0;
    case UM_UPDATE_MENU:
      UpdateMenu(wParam, lParam != 0);
      return 0;
    case UM_SHOW_MESSAGE: {
      auto* text = reinterpret_cast<mstring*>(lParam);
      if (text != nullptr) {
        ShowAppMessage(hwnd_, mb_to_wide(text->c_str()));
        delete text;
      }
      return 0;
    }
    case UM_ROSTER_ADD_SERVICE:
      routes.RosterAddService(lParam);
      return 0;
    case WM_MWND_SHOW:
      if (auto* window = reinterpret_cast<MWnd*>(lParam);
          window != nullptr && stack_->Contains(window)) {
        window->Show();
      }
      return 0;
    case UM_SESSION_RECEIVED:
      routes.SessionReceived(lParam);
      return 0;
    case UM_SESSION_KEEPALIVE:
      routes.SessionKeepalive(lParam);
      return 0;
    case UM_SERIAL_DATA:
      routes.SerialData(lParam);
      return 0;
    case UM_LOGGED_IN:
    case UM_SESSION_ENDED:
      routes.SessionStateChanged(message);
      return 0;
    case UM_BRING_FORWARD: {
      auto bits = reinterpret_cast<std::uintptr_t>(hwnd_) | 1;
      SetForegroundWindow(reinterpret_cast<HWND>(bits));
      return 0;
    }
    default:
      // The program's own messages: the login thread's, the post-login timer.
      *handled = routes.HandleMessage(message, wParam, lParam);
      return 0;
  }
}

bool MJabberWnd::FrontIsStatusScreen() {
  MWnd* front = stack_->Top();
  if (front == nullptr) {
    return false;
  }
  std::u16string name = front->GetName();
  return name == u"JLOGWND" || name == u"JLOGINWND";
}

void MJabberWnd::PassToFrontWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  MWnd* front = stack_->Top();
  if (front != nullptr && front != this) {
    front->WindowProc(front->GetHwnd(), message, wParam, lParam);
  }
}

LRESULT MJabberWnd::OnCommand(HWND hwnd, UINT command, WPARAM wParam, LPARAM lParam) {
  MAppRoutes& routes = app_->routes();
  switch (command) {
    case 1:
      SendMessage(hwnd_, WM_ACTIVATE, WA_INACTIVE, 0);
      SendMessage(hwnd_, WM_CLOSE, 0, 0);
      return 0;
    case 113:
      // The same command is the menu bar's "GPS Status" button (lParam 0) and a popup's Close
      // (lParam the popup's id).
      if (lParam == 0) {
        routes.LocationSetupDialog();
        return 0;
      }
      routes.ClosePopup(lParam);
      break;
    case 114:
      routes.OpenPopupChat(lParam);
      break;
    case 40003:
      routes.AboutDialog();
      return 0;
    case 40004:
      routes.PreferencesDialog();
      return 0;
    case 40005:
      app_->Exit();
      return 0;
    case 40008:
      app_->ShowLogWindow();
      routes.Login(true);
      return 0;
    case 40013:
      CreateProcess("peghelp.exe", "file:\\WINDOWS\\orvhelp.htc");
      return 0;
    case 40022:
    case 65002:
      routes.ShowRosterWindow();
      return 0;
    case 40026:
      routes.RunSetupWizard();
      app_->ShowLogWindow();
      routes.Login(true);
      return 0;
    case 40027:
      routes.LogOff();
      return 0;
    case 40034:
    case 40035:
    case 40036:
    case 40037:
    case 40062:
      routes.SetStatus(command);
      return 0;
    case 40041:
      routes.GatewaySetup(u"icq");
      return 0;
    case 40042:
      routes.GatewaySetup(u"yahoo");
      return 0;
    case 40043:
      routes.GatewaySetup(u"aim");
      return 0;
    case 40044:
      routes.GatewaySetup(u"msn");
      return 0;
    case 40116:
      routes.ProxyDialog();
      return 0;
    case 40154:
      routes.FontsDialog();
      return 0;
    case 40181:
    case 40198:
    case 40199:
    case 40200:
    case 40201:
    case 40202:
      // The contact commands of the menu work from the log and login windows too: the
      // contact list comes forward to take them.
      if (FrontIsStatusScreen()) {
        routes.ShowRosterWindow();
      }
      PassToFrontWindow(WM_COMMAND, wParam, lParam);
      return 0;
    case 40157:
      PassToFrontWindow(WM_COMMAND, wParam, lParam);
      return 0;
    case 40162:
      routes.ToggleOnlyOnline();
      return 0;
    case 40193:
      routes.LocationSetupDialog();
      return 0;
    case 40205:
      routes.BroadcastDialog();
      return 0;
    case 40213:
      routes.CalculateRoute();
      return 0;
    case 40206:
      routes.ShowMyLocation();
      return 0;
    case 40211:
    case 65001:
      routes.ShowActiveChatsWindow();
      return 0;
    case 40249:
      app_->ShowLogWindow();
      return 0;
    case 40164:
      routes.ShowHeadlinesWindow();
      return 0;
    case 40207:
      if (app_->capAlertWindow != nullptr) {
        app_->capAlertWindow->Show();
      }
      return 0;
    case 40260:
      routes.JoinRoomDialog();
      return 0;
    case 40261:
      routes.ShowRoomParticipants();
      return 0;
    default:
      break;
  }
  return MWnd::WindowProc(hwnd, WM_COMMAND, wParam, lParam);
}
