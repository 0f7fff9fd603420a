// Bounded copies into the caller buffers of the field extractors.
#pragma once

#include "xml/packet.h"

// Sets the buffer to the empty string.
void field_clear(field_buf out);
// Copies `text` (null counts as empty), cut to fit at a UTF-8 character boundary.
void field_copy(field_buf out, const char* text);
