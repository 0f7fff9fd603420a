#include "diag/debug_log.h"

#include <atomic>
#include <cstdio>

#include "platform/device_path.h"

namespace {

std::atomic<MDebugLog::MessageBoxFunction> g_messageBox{nullptr};
// The "Cannot Debug" notice is shown once per process, however many entries fail.
std::atomic<bool> g_cannotOpenShown{false};

void WriteWholeFile(const mstring& path, const char* mode, const char* text) {
  std::FILE* file = DeviceFopen(path.c_str(), mode);
  if (file) {
    std::fputs(text, file);
    std::fclose(file);
  }
}

}  // namespace

MDebugLog::MDebugLog(const MSettings& settings, MAppMutexes& mutexes)
    : settings_(settings), mutexes_(mutexes) {}

void MDebugLog::SetMessageBox(MessageBoxFunction show) { g_messageBox = show; }

void MDebugLog::Begin() {
  if (settings_.debugMode) {
    WriteWholeFile(settings_.debugFilePath, "w", "<DEBUGLOG>\n");
  }
}

void MDebugLog::End() {
  if (settings_.debugMode) {
    WriteWholeFile(settings_.debugFilePath, "a+", "</DEBUGLOG>\n");
  }
}

void MDebugLog::ReportCannotOpen(const mstring& path) {
  if (g_cannotOpenShown.exchange(true)) {
    return;
  }
  MessageBoxFunction show = g_messageBox;
  if (show) {
    char text[600];
    std::snprintf(text, sizeof text, "Cannot open %s", path.c_str());
    show(text, "Cannot Debug");
  }
}

void MDebugLog::Write(const mstring& text, bool raw) {
  if (!settings_.debugMode) {
    return;
  }
  HANDLE mutex = mutexes_.CreateAppMutex("MDebugLogMutex", true);
  if (!mutex) {
    return;
  }
  // An abandoned wait means an earlier writer ended in the middle of an entry: this entry is
  // dropped, but the mutex is still released so that later entries are written.
  if (WaitForSingleObject(mutex, INFINITE) == WAIT_OBJECT_0) {
    mstring path = settings_.debugFilePath;
    std::FILE* file = DeviceFopen(path.c_str(), "a+");
    if (!file) {
      ReportCannotOpen(path);
    } else {
      if (raw) {
        std::fprintf(file, "<![CDATA[%s]]>\n", text.c_str());
      } else {
        SYSTEMTIME now{};
        clock_(&now);
        std::fprintf(file, "<MSG T='%02d/%02d/%04d %02d:%02d:%02d'>%s</MSG>\n", now.wMonth,
                     now.wDay, now.wYear, now.wHour, now.wMinute, now.wSecond, text.c_str());
      }
      std::fclose(file);
    }
  }
  mutexes_.CloseAppMutex(mutex);
}
