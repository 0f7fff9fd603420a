#include "ui/log_wnd.h"

MLogWnd::MLogWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont)
    : MHtmlWnd(kLogWindowName, instance, kLogWindowName, stack, logFont) {}

const WCHAR* MLogWnd::Banner() {
  return u"<CENTER><B>orvik Messenger</B></CENTER><BR></BR>"
         u"<CENTER>Instant messaging over XMPP (Jabber)</CENTER><BR></BR>"
         u"<CENTER>Learn more about XMPP at <A HREF=\"https://xmpp.org/\">xmpp.org</A></CENTER>"
         u"<BR></BR><HR></HR>";
}

void MLogWnd::Reset() {
  MHtmlWnd::Reset();
  Append(Banner());
  Redraw();
}
