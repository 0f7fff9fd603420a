// The main frame's message numbers that the serial reader posts. location/ cannot include the
// application's headers, so the numbers are repeated here, in a namespace of their own so a
// file that sees both definitions still compiles.
#pragma once

#include "platform/win32_types.h"

namespace serial_messages {

// wParam: byte count; lParam: the chunk, freed with FreeSerialChunk.
constexpr UINT UM_SERIAL_DATA = 1357;
// lParam: a new mstring with the text for a message box; the frame frees it.
constexpr UINT UM_SHOW_MESSAGE = 1095;

}  // namespace serial_messages
