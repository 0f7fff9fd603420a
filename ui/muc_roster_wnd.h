// MMUCRosterWnd ("JMUCROSTERWND"): an HTML view that lists the occupants of a conference
// room; the application writes its content from the room's presence.
#pragma once

#include "ui/chat_record.h"
#include "ui/html_wnd.h"

constexpr const WCHAR* kMucRosterWindowName = u"JMUCROSTERWND";

class MMUCRosterWnd : public MHtmlWnd {
 public:
  MMUCRosterWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont);
  virtual ~MMUCRosterWnd();

  // Swallows every command; everything else is the view's.
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  // Rewrites the content as the list of `room`'s occupants (nickname, role, affiliation,
  // show; every value shown as text) and redraws.
  void ShowParticipants(const ChatRecord& room);
};
