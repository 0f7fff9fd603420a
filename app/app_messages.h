// The application messages that other threads and components send to the main frame, with
// their fixed numbers, and the string resources of the main frame.
#pragma once

#include "platform/window.h"
#include "roster/roster_messages.h"
#include "xmpp/session_messages.h"

constexpr UINT UM_UPDATE_MENU = 1088;
constexpr UINT UM_SHOW_MESSAGE = 1095;
constexpr UINT UM_SERIAL_DATA = 1357;
// The single-instance listener asks the frame to come forward before it hands over a second
// start's command line (the second process cannot raise another process's window here).
constexpr UINT UM_BRING_FORWARD = WM_APP + 1;
// The login thread tells the frame that it has ended, or why automatic login must stop
// (wParam: 0 the account lacks a server or user name, 1 the first connect failed).
constexpr UINT UM_LOGIN_THREAD_ENDED = WM_APP + 2;
constexpr UINT UM_LOGIN_STOP = WM_APP + 3;
// Lines were appended to the log window from another thread: repaint it on this one.
constexpr UINT UM_LOG_REDRAW = WM_APP + 4;
// A connection to another server is being set up: the roster model starts empty.
constexpr UINT UM_ROSTER_CLEAR = WM_APP + 5;
// The GPS fix indicator from any thread: wParam 1 enables the "GPS Status" button, 0 disables it.
constexpr UINT UM_GPS_FIX = WM_APP + 16;

// The copy-data tag of a second start's command line, and its buffer size.
constexpr UINT_PTR kCommandLineTag = 65003;
constexpr int kCommandLineSize = 1024;

// String resources 1 and 3: the main frame's title and window class name; the single-instance
// test uses the same two.
constexpr const WCHAR* kFrameTitle = u"orvik Messenger";
constexpr const WCHAR* kFrameClass = u"JORVIKFRAMEWND";
constexpr const char* kFrameTitleNarrow = "orvik Messenger";
constexpr const char* kFrameClassNarrow = "JORVIKFRAMEWND";

// Resources of the main frame.
constexpr int kFrameIcon = 101;
constexpr int kFrameMenu = 129;
constexpr int kFrameButtons = 8216;

// Session states reported with UM_UPDATE_MENU.
constexpr WPARAM kSessionOff = 0;
constexpr WPARAM kSessionPolling = 1;
constexpr WPARAM kSessionOnline = 3;
constexpr WPARAM kSessionConnecting = 4;
