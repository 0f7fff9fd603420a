// The setup screens the main frame's commands open: About, Preferences (with Advanced and
// Proxy), Fonts, Broadcast, the setup wizard, and the "Unavailable Services" notice shown
// after a login. Every dialog is modal over the main frame and saves the settings on OK.
#pragma once

#include <vector>

#include "platform/window.h"
#include "xml/wmstring.h"

void AboutDialog();
void PreferencesDialog();
// `owner`: the dialog that opens it (the main frame when null).
void AdvancedDialog(HWND owner = nullptr);
void ProxyDialog(HWND owner = nullptr);
void FontsDialog();
void BroadcastDialog();
void RunSetupWizard();
// Dialog 322: lists `names` (the accounts whose gateway the server does not offer). Returns
// whether "Do not display this again" was checked when the user confirmed it.
bool UnavailableServicesDialog(const std::vector<wmstring>& names);

class IJabberHost;
// "LBS Setup" (dialog 275): the stored position (typed positions are stored through `host`),
// location support, the receiver and its port. True when confirmed.
bool LbsSetupDialog(IJabberHost& host, HWND owner = nullptr);

class MChatOperations;
// "Join Room": the room, the nickname and the password; OK joins through `operations`.
void JoinRoomDialog(MChatOperations* operations);
constexpr int kJoinRoomAddress = 1301;
constexpr int kJoinRoomNickname = 1302;
constexpr int kJoinRoomPassword = 1303;

// The proxy port as typed: the leading decimal digits (0 when there are none), saturating
// instead of wrapping around.
DWORD ParseProxyPort(const WCHAR* text);
// The Fonts dialog's size list, and the entry nearest to a stored font height (pixels,
// negative for a character height) at `pixelsPerInch`; the default entry "8" for height 0.
const std::vector<int>& FontSizes();
int NearestFontSizeIndex(LONG height, int pixelsPerInch);
