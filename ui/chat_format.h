// How text becomes chat history markup. Text from the network or the keyboard is never
// markup: "&", "<" and ">" are protected so the view shows them as typed; emoticons become
// images and web addresses become links.
#pragma once

#include "xml/wmstring.h"

// Each "<", ">" and "&" becomes "<![CDATA[" + the character + "]]>": the view shows the text
// unchanged. Used for every name, nickname, subject and status that enters a history.
wmstring ProtectMarkup(const wmstring& text);
// Protection, then emoticons (when `emoticons`), then links: "http:", "https:" (and, when the
// text has neither, "www.") addresses become "<A HREF='target'>address</A>".
wmstring FormatChatText(const wmstring& text, bool emoticons);
// Whether `text` begins with the lower-case ASCII `prefix`, in any case.
bool StartsWithNoCase(const char* text, const char* prefix);
// Whether a link target may be opened: only http, https and xmpp addresses (never a local
// file or a program).
bool IsOpenableLink(const char* target);
