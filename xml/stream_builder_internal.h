// Shared between the builder's handlers and its feeding loop; not for other callers.
#pragma once

#include "xml/stream_builder.h"

// A new parser with the builder's handlers installed, or null.
XML_Parser stream_parser_new(stream_builder* sb);
// Resets `parser` for a new stream and installs the handlers again; false when that fails.
bool stream_parser_reset(stream_builder* sb, XML_Parser parser);
// Releases the stanza under construction and any collected text.
void stream_drop_stanza(stream_builder* sb);
