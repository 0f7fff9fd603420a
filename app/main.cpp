// Process entry of orvik Messenger: usage and version, the single-instance rule with the
// hand-over of a second start's command line, the application object and the message loop.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "app/command_line.h"
#include "app/exit_signals.h"
#include "app/jabber_wnd.h"
#include "app/program_routes.h"
#include "app/single_instance.h"

namespace {

const char kUsage[] =
    "Usage: orvik [-cw JID | xmpp:JID]\n"
    "\n"
    "orvik Messenger, an XMPP (Jabber) instant-messaging client.\n"
    "\n"
    "  -cw JID        open a conversation with JID (\"xmpp:JID\" works too); when orvik\n"
    "                 is already running, the running program opens it\n"
    "  xmpp:JID       the same, as the desktop passes a clicked xmpp: link\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "The profile (settings, logs) lives in $ORVIK_HOME, by default ~/.config/orvik.\n";

const char kNoDisplay[] = "orvik: cannot open the display";

// True when the process should end at once (help or version was asked for).
bool HandleInformationOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("orvik Messenger %s\n", ORVIK_VERSION);
      return true;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (HandleInformationOptions(argc, argv)) {
    return 0;
  }
  BlockExitSignals();
  mstring commandLine = JoinArguments(argc, argv);
  MSingleInstance instance;
  if (instance.Claim(commandLine) == MSingleInstance::Result::HandedOver) {
    return 0;  // the running program has it now
  }
  // Windows off screen only when asked for (QT_QPA_PLATFORM=offscreen): an invisible instance
  // would take every later start on the desktop as a hand-over and show nothing.
  SetDisplayFailureExit(kNoDisplay, 1);
  if (!InitDisplay(&argc, argv)) {
    std::fprintf(stderr, "%s\n", kNoDisplay);
    return 1;
  }
  auto* handle = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(getpid()));
  // The application object lives until the process ends, as everything may reach it.
  auto* app = new MApp(handle, commandLine);
  SetApp(app);
  app->SetRoutes(std::make_unique<MProgramRoutes>(app));
  if (!app->Initialise()) {
    std::fprintf(stderr, "orvik: cannot create the main window\n");
    return 1;
  }
  if (HANDLE listener =
          instance.StartListening(app->mainFrame->GetHwnd(), app->shutdownEvent->handle())) {
    app->RegisterThread(listener);
  }
  if (HANDLE watcher =
          StartExitSignalWatcher(app->mainFrame->GetHwnd(), app->shutdownEvent->handle())) {
    app->RegisterThread(watcher);
  }
  int code = app->Run();
  ShutdownDisplay();
  // The loop ends with 18 after the orderly exit; to the shell that is success.
  return code == 18 ? 0 : code;
}
