// The main frame's message numbers that the serial reader posts (the frame defines the same
// numbers; location/ cannot include the application's headers).
#pragma once

#include "platform/win32_types.h"

// wParam: byte count; lParam: the chunk, freed with FreeSerialChunk.
constexpr unsigned int UM_SERIAL_DATA = 1357;
// lParam: a new mstring with the text for a message box; the frame frees it.
constexpr unsigned int UM_SHOW_MESSAGE = 1095;
