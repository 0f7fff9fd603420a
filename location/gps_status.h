// The GPS status word ("WAITING", "READ", "GPS ON COM4", "OK - UPDATED", ...): written by the
// serial reader thread and the receiver code, shown by the location setup dialog. Safe to use
// from any thread.
#pragma once

#include "xml/mstring.h"

void SetGpsStatus(const char* word);
mstring GpsStatus();

// Called with every word as it is set, in order, on the setting thread (null removes it). It
// runs under the store's lock, so it must not set a word itself; a dialog that shows the word
// live uses it to post itself a refresh.
using GpsStatusListener = void (*)(const char* word, void* context);
void SetGpsStatusListener(GpsStatusListener listener, void* context);
