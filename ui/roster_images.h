// How a contact looks in the roster tree: its presence image (by network and presence) and its
// display text, and the image list the tree draws them from.
#pragma once

#include <cstdint>

#include "platform/controls.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

constexpr int kRosterImageCount = 17;
constexpr int kGroupCollapsedImage = 10;
constexpr int kGroupExpandedImage = 11;
constexpr int kLargeRosterBitmap = 265;  // 20 x 25 pixels per image
constexpr int kSmallRosterBitmap = 266;  // 14 x 17 pixels per image, "SMALL BITMAPS"
constexpr COLORREF kRosterMaskColour = RGB(0, 255, 0);

// The image of a contact: the network's column (by `serviceType`, ignoring ASCII case; empty or
// unknown means Jabber) and the online, away or offline row.
int PresenceImage(const mstring& serviceType, std::uint32_t online, const mstring& show);

// The name up to its first '@', then "(" + bracket + ")" when `showStatus` and the bracket
// value is not empty. The bracket is UTF-8 text; nothing in it is taken as markup.
wmstring RosterDisplayText(const wmstring& name, const mstring& bracket, bool showStatus);

// The 17 images cut from bitmap 266 (small) or 265; null when the list or bitmap cannot be had
// (the tree then shows no icons). The caller destroys the list.
HIMAGELIST CreateRosterImageList(HINSTANCE instance, bool smallBitmaps);
