// The command line. The one option is "cw" (open a conversation with a JID): "-cw JID",
// "-cw \"JID\"" or with an "xmpp:" address; a bare "xmpp:" address stands for "-cw".
#pragma once

#include <vector>

#include "xml/mstring.h"

// The non-empty JIDs of every "cw" option, in order. Other options are skipped.
std::vector<mstring> CommandLineJids(const mstring& text);
// argv[1..] as one line, each argument that holds a blank or is empty in double quotes. A bare
// "xmpp:" address (how the desktop passes a clicked link) becomes the option cw with its JID;
// one that names no usable JID is reported on stderr and left out.
mstring JoinArguments(int argc, char** argv);
// True when `argument` starts with the scheme "xmpp:" (in any case).
bool IsXmppUri(const char* argument);
// The JID of an "xmpp:" address: "xmpp:JID", "xmpp://ACCOUNT/JID", with any "?action" or
// "#fragment" dropped and %XX escapes decoded. Empty when there is none or it would hold a
// blank, a double quote or a control character.
mstring XmppUriJid(const char* uri);
