// Window messages and timers between the session engine and the main frame. The numbers are
// fixed: the main frame's message table routes them.
#pragma once

#include "platform/message_queue.h"

// Receive loop -> main frame (sent, so the loop waits until the text has been parsed).
constexpr UINT UM_SESSION_RECEIVED = 1099;   // lParam: NUL-terminated received text
constexpr UINT UM_SESSION_KEEPALIVE = 1100;  // lParam: the keepalive text, sent without deferral
// Engine -> main frame.
constexpr UINT UM_LOGGED_IN = 65000;
constexpr UINT UM_SESSION_ENDED = 65005;
// The connection manager's notifications arrive under this number.
constexpr UINT UM_CONNECTION_MANAGER = 65514;

// The post-login check: a one-shot timer on the main frame.
constexpr UINT_PTR POST_LOGIN_TIMER_ID = 8888;
constexpr UINT POST_LOGIN_TIMER_MS = 25000;
