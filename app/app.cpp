// MApp: construction and the start-up sequence.
#include "app/app.h"

#include <cstdio>

#include "alerts/cap_alert_wnd.h"
#include "app/app_messages.h"
#include "app/command_line.h"
#include "app/jabber_wnd.h"
#include "app/login_wnd.h"
#include "app/platform_code.h"
#include "platform/device_path.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_wnd.h"
#include "ui/muc_roster_wnd.h"
#include "ui/roster_wnd.h"
#include "xml/text_convert.h"

std::atomic<bool> g_exiting{false};

namespace {
std::atomic<MApp*> application{nullptr};

// The HTML views' links to web pages start the configured browser with the URL.
bool OpenUrl(const mstring& url) {
  MApp* app = App();
  if (app == nullptr || app->settings == nullptr) {
    return false;
  }
  return CreateProcess(wide_to_mb(app->settings->browserExec.c_str()).c_str(), url.c_str()) != 0;
}

// The debug log's own message boxes have no owner.
void DebugLogMessageBox(const char* text, const char* caption) {
  MessageBoxW(nullptr, mb_to_wide(text).c_str(), mb_to_wide(caption).c_str(), MB_OK | MB_TOPMOST);
}
}  // namespace

MApp* App() {
  return application.load();
}

void SetApp(MApp* app) {
  application.store(app);
}

MApp::MApp(HINSTANCE instance, const mstring& line)
    : instance(instance),
      mutexes(reinterpret_cast<std::uintptr_t>(instance)),
      threads(reinterpret_cast<std::uintptr_t>(instance)),
      commandLine(line),
      routes_(std::make_unique<MAppRoutes>()) {
  InitializeCriticalSection(&dispatchLock);
  InitializeCriticalSection(&conversationLock);
}

MApp::~MApp() {
  if (App() == this) {
    SetApp(nullptr);
    MHtmlWnd::SetDebugLog(nullptr);
  }
  DeleteCriticalSection(&dispatchLock);
  DeleteCriticalSection(&conversationLock);
}

void MApp::SetRoutes(std::unique_ptr<MAppRoutes> routes) {
  routes_ = routes ? std::move(routes) : std::make_unique<MAppRoutes>();
}

bool MApp::Initialise() {
  SetUpComponents();           // step 1
  routes_->CreateSession();    // step 2: comes with the session engine
  presenceShow = "available";  // step 3
  statusText = "";
  statusCommand = 40034;
  clientVersion = "3.00e";
  locationPublished = 0;
  locationRequested = 0;
  MeasureWorkArea();
  char buffer[16];
  country = UserCountry(buffer, sizeof(buffer));
  loginThread = nullptr;
  locationThread = nullptr;
  CreateMainFrame();  // step 4
  if (mainFrame == nullptr || mainFrame->GetHwnd() == nullptr) {
    return false;
  }
  shutdownEvent = std::make_unique<MShutdownEvent>();                                     // step 5
  CreateChildWindows();                                                                   // step 6
  mainFrame->SendCheckMenuItem(40162, settings->onlyOnline ? MF_CHECKED : MF_UNCHECKED);  // 7
  roster->AddGroup(mstring(kServicesGroup));                                              // step 8
  if (!MSettings::SetupWizardDone()) {  // step 9: the wizard comes with the setup dialogs
    routes_->RunSetupWizard();
  }
  StartSessionAndWindows();  // steps 10 to 15
  return true;
}

// Step 1: the settings (loaded at once), the debug log, the session stamp, the platform code
// and the service accounts.
void MApp::SetUpComponents() {
  settings = std::make_unique<MSettings>();
  std::string module = GetModuleFileName();
  settings->programFolder = module.substr(0, module.rfind('\\') + 1).c_str();
  HDC screen = GetDC(nullptr);
  settings->SetScreenLogPixelsY(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  roster = std::make_unique<MJabberRoster>(mutexes);
  MDebugLog::SetMessageBox(DebugLogMessageBox);
  MHtmlWnd::SetOpenUrl(OpenUrl);
  debugLog = std::make_unique<MDebugLog>(*settings, mutexes);
  MHtmlWnd::SetDebugLog(debugLog.get());
  debugLog->Begin();
  char stamp[16];
  std::snprintf(stamp, sizeof(stamp), "%u", GetTickCount());
  sessionStamp = stamp;
  platform = DetectPlatform();
  routes_->CreateServiceAccounts();  // "Service0" to "Service4" (tests bring their own)
}

void MApp::MeasureWorkArea() {
  RECT area{0, 0, 0, 0};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  LONG height = area.bottom - area.top;
  paneHeight = std::max<LONG>(static_cast<LONG>(height * 0.15), 65);
  paneHeight2 = paneHeight;
  workAreaWidth = area.right - area.left;
}

void MApp::CreateMainFrame() {
  mainFrame =
      std::make_unique<MJabberWnd>(instance, &windows, settings->GetFont(kFrameTitleNarrow), this);
  mainFrame->Create();
}

// Step 6: the windows, children of the main frame, each with its font from the settings.
void MApp::CreateChildWindows() {
  logWindow = std::make_unique<MLogWnd>(instance, &windows, settings->GetFont("JLOGWND"));
  logWindow->Create(mainFrame.get(), 0, 0);
  logWindow->Reset();  // the banner
  ShowLogWindow();
  // banner, login window ("JLOGINWND"), chat window ("JCHATWNDCLASS"), roster window
  // ("JROSTERWND") and active chats window ("JACTIVECHATSWND"): come with their parts
  routes_->CreateWindows();
}

void MApp::StartSessionAndWindows() {
  debugLog->Write("Setting status");  // step 10
  routes_->SetStatus(40034);
  debugLog->Write("Updating menu");  // step 11
  SendMessage(mainFrame->GetHwnd(), UM_UPDATE_MENU, kSessionOff, 0);
  MenuBarEnableButton(mainFrame->GetMenuBar(), 113, FALSE);
  if (settings->locationSupport) {  // step 12
    routes_->StartLocation();
  }
  if (settings->loginOnStartup) {  // step 13
    ShowLogWindow();
    routes_->Login(true);
  } else if (!routes_->ShowLoginWindow()) {
    ShowLogWindow();  // until the login window exists, the log window is the first screen
  }
  debugLog->Write("Parsing command mstring");  // step 14
  ParseCommandLine(commandLine);
  routes_->StartBanner();  // step 15
}

void MApp::ShowLogWindow() {
  if (logWindow != nullptr) {
    logWindow->Show();
  }
}

void MApp::ParseCommandLine(const mstring& text) {
  for (const mstring& jid : CommandLineJids(text)) {
    if (debugLog != nullptr) {
      debugLog->Write(mstring("Open conversation: ") + jid);
    }
    routes_->OpenConversation(jid);
  }
}

HANDLE MApp::CreateAppMutex(const char* name, bool initiallyOwned) {
  return mutexes.CreateAppMutex(name, initiallyOwned);
}

void MApp::CloseAppMutex(HANDLE mutex) {
  mutexes.CloseAppMutex(mutex);
}

void MApp::RegisterThread(HANDLE thread) {
  threads.RegisterThread(thread);
}

void MApp::UnregisterThread(HANDLE thread) {
  threads.UnregisterThread(thread);
}

bool MApp::WaitForShutdown(DWORD milliseconds) {
  if (shutdownEvent == nullptr) {
    Sleep(milliseconds);
    return false;
  }
  return shutdownEvent->WaitForShutdown(milliseconds);
}

int MApp::Run() {
  MSG message;
  for (;;) {
    BOOL result = GetMessage(&message, nullptr, 0, 0);
    if (result > 0) {
      TranslateMessage(&message);
      DispatchMessage(&message);
    } else if (result == 0 || message.message == WM_QUIT) {
      return static_cast<int>(message.wParam);
    }
  }
}
