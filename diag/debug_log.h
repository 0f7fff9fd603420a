// The debug log: in debug mode, a trace of the program's work (every stanza sent and received,
// the packets dispatched, progress notes) appended to an XML-like text file. The file is
// opened and closed for every entry, so it is complete on disk after each call. With debug
// mode off every call returns at once.
#pragma once

#include "base/runtime/app_mutexes.h"
#include "base/settings/settings.h"
#include "platform/clock.h"
#include "xml/mstring.h"

class MDebugLog {
 public:
  // Shows a message box without owner (topmost); the application supplies it.
  using MessageBoxFunction = void (*)(const char* text, const char* caption);
  using ClockFunction = void (*)(SYSTEMTIME* local);

  MDebugLog(const MSettings& settings, MAppMutexes& mutexes);

  // Starts a new file with "<DEBUGLOG>\n" (at start-up).
  void Begin();
  // Ends the file with "</DEBUGLOG>\n" (at a normal shutdown).
  void End();
  // Appends a plain entry ("<MSG T='time'>text</MSG>\n") or a raw one ("<![CDATA[text]]>\n").
  // Texts are written as they are, without escaping.
  void Write(const mstring& text, bool raw = false);

  static void SetMessageBox(MessageBoxFunction show);
  // The local time source (tests set a fixed clock).
  void SetClock(ClockFunction clock) { clock_ = clock; }

 private:
  void ReportCannotOpen(const mstring& path);

  const MSettings& settings_;
  MAppMutexes& mutexes_;
  ClockFunction clock_ = GetLocalTime;
};
