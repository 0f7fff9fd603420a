// The GPS status word ("WAITING", "READ", "GPS ON COM4", "OK - UPDATED", ...): written by the
// serial reader thread and the receiver code, shown by the location setup dialog. Safe to use
// from any thread.
#pragma once

#include "xml/mstring.h"

void SetGpsStatus(const char* word);
mstring GpsStatus();
