// Shared by the benchmarks of the whole program: the program made as main() makes it (its
// windows offscreen), logged in to a test Prosody, and a message loop that runs until a
// condition holds.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/program_routes.h"
#include "support/registry_setting.h"

namespace program_bench {

inline void SetText(const char* name, const std::string& text) {
  SetRegistryText(kSettingsKey, name, text);
}

inline void SetFlag(const char* name, DWORD value) {
  SetRegistryDword(kSettingsKey, name, value);
}

// The program with the account `user`/"secret" at `server` (as the account's server text);
// null when it could not start.
inline MApp* StartProgram(const std::string& server, const std::string& user) {
  SetText("JABBERTR.SERVER", server);
  SetText("JABBERTR.USERNAME", user);
  SetText("JABBERTR.PASSWORD", "secret");
  SetFlag("SetupWizard", 1);
  auto* app = new MApp(reinterpret_cast<HINSTANCE>(std::uintptr_t{77}), "");
  SetApp(app);
  app->SetRoutes(std::make_unique<MProgramRoutes>(app));
  return app->Initialise() ? app : nullptr;
}

inline MProgramRoutes& Routes(MApp* app) {
  return static_cast<MProgramRoutes&>(app->routes());
}

// Runs the message loop until `done` holds or `timeout_ms` have passed; a 5 ms timer keeps it
// waking. `onTick`, when given, runs at every message.
inline void Pump(const std::function<bool()>& done, int timeout_ms,
                 const std::function<void()>& onTick = nullptr) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  UINT_PTR tick = SetTimer(nullptr, 0, 5, nullptr);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    MSG message;
    if (GetMessage(&message, nullptr, 0, 0) <= 0)
      break;
    DispatchMessage(&message);
    if (onTick)
      onTick();
  }
  KillTimer(nullptr, tick);
}

}  // namespace program_bench
