// The command line. The one option is "cw" (open a conversation with a JID): "-cw JID",
// "-cw \"JID\"" or with an "xmpp:" address.
#pragma once

#include <vector>

#include "xml/mstring.h"

// The non-empty JIDs of every "cw" option, in order. Other options are skipped.
std::vector<mstring> CommandLineJids(const mstring& text);
// argv[1..] as one line, each argument that holds a blank or is empty in double quotes.
mstring JoinArguments(int argc, char** argv);
