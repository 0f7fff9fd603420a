// MMUCRosterWnd: the occupants of a conference room, one line each.
#include "ui/muc_roster_wnd.h"

#include "ui/chat_format.h"
#include "xml/text_convert.h"

namespace {

// Occupant data comes from the room's presence: shown as text, never as markup.
wmstring Shown(const mstring& utf8) {
  return ProtectMarkup(utf8_to_wide(utf8));
}

}  // namespace

MMUCRosterWnd::MMUCRosterWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont)
    : MHtmlWnd(kMucRosterWindowName, instance, kMucRosterWindowName, stack, logFont) {}

MMUCRosterWnd::~MMUCRosterWnd() = default;

LRESULT MMUCRosterWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    return 1;
  }
  return MHtmlWnd::WindowProc(hwnd, message, wParam, lParam);
}

void MMUCRosterWnd::ShowParticipants(const ChatRecord& room) {
  wmstring page;
  for (const auto& [nickname, occupant] : room.participants) {
    page += u"<P><B>" + Shown(nickname) + u"</B> " + Shown(occupant.role) + u", " +
            Shown(occupant.affiliation);
    if (!occupant.show.empty()) {
      page += u" (" + Shown(occupant.show) + u")";
    }
    page += u"</P>";
  }
  Reset();
  Append(page.c_str());
  Redraw();
}
