// How a received message becomes a headline for the viewer: a message of type "headline", a
// message with a url-data link, or an ordinary ("normal") message with a jabber:x:oob link.
// A chat message keeps being a chat even when it carries a link (a shared file, say).
//
// Only the own server, its services (addresses under the own domain, such as a news component)
// and contacts of the roster may send headlines; anything else is dropped, so a stranger cannot
// fill the viewer. Every field is copied with a bound.
#pragma once

#include <optional>

#include "alerts/headline.h"
#include "xml/mstring.h"
#include "xml/packet.h"
#include "xml/wmstring.h"

// What the program knows of the sender, looked up by the caller.
struct HeadlineSender {
  mstring ownDomain;  // the user's server; "" while not connected
  bool rosterContact = false;
  wmstring rosterName;  // the contact's name in the roster ("" for none)
};

// Upper bounds of the copied fields, in UTF-16 units for texts and bytes for the link: a
// longer text is cut, a longer link is not kept (a cut address would lead elsewhere).
constexpr std::uint32_t kHeadlineTitleLimit = 1024;
constexpr std::uint32_t kHeadlineDescriptionLimit = 8192;
constexpr std::uint32_t kHeadlineUrlLimit = 4096;

// Whether the message is one the headlines viewer takes (whoever sent it).
bool IsHeadlineMessage(packet* p);
// Whether headlines from `from` (a parsed sender address) are accepted.
bool HeadlineSenderAccepted(const jid* from, const HeadlineSender& sender);
// The headline the message carries: source = the roster name, else the sender's bare address;
// title = the subject, else the link's description; description = the body; url = the link.
// Nothing when the message is not a headline, the sender is not accepted or nothing is left to
// show.
std::optional<Headline> HeadlineFromMessage(packet* p, const HeadlineSender& sender);
