// Notification bubbles. A notification is shown as a bubble in a corner of its sink window's
// top-level window: the title in bold, the HTML body's text as rich text, and one push button
// per "<input type=button name='cmd:N' value='Label'>" of the body. A button posts WM_COMMAND
// (N, lParam = the notification id) to the sink. Several bubbles stack. The bubble hides after
// its duration; the notification stays known until it is removed.
//
// When the desktop's notification service (org.freedesktop.Notifications on the session bus)
// runs, the notification is mirrored there as well, with the actions "Chat" (the service's
// default action, command 114) and "Close" (command 113); choosing one posts that command to
// the sink. The service's replies and signals arrive through the program's message loop.
#pragma once

#include "platform/window.h"

// How the handheld shows a notification; every priority shows a bubble here.
enum SHNP { SHNP_INFORM = 0x1b1, SHNP_ICONIC = 0 };

struct SHNOTIFICATIONDATA {
  DWORD cbStruct = sizeof(SHNOTIFICATIONDATA);
  DWORD dwID = 0;  // the caller's id, unique among its shown notifications
  SHNP npPriority = SHNP_INFORM;
  int csDuration = 0;  // seconds the bubble stays shown; 0 or less: until removed
  HWND hwndSink = nullptr;
  const WCHAR* pszHTML = nullptr;
  const WCHAR* pszTitle = nullptr;
  LPARAM lParam = 0;
};

// Shows the notification (a notification with the same id is replaced). ERROR_SUCCESS, or
// ERROR_INVALID_PARAMETER for a missing record, body or sink.
LONG SHNotificationAdd(const SHNOTIFICATIONDATA* data);
// Hides the bubble and closes the desktop's copy. ERROR_SUCCESS, or ERROR_INVALID_PARAMETER
// when no notification has this id.
LONG SHNotificationRemove(DWORD id);
// Whether the bubble of `id` is on screen (for tests and diagnostics).
bool SHNotificationVisible(DWORD id);
