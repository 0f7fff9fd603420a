#include "ui/log_wnd.h"

MLogWnd::MLogWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont)
    : MHtmlWnd(kLogWindowName, instance, kLogWindowName, stack, logFont) {}

const WCHAR* MLogWnd::Banner() {
  return u"<CENTER><B>orvik Messenger</B></CENTER><BR></BR>"
         u"<CENTER>Instant messaging over XMPP (Jabber)</CENTER><BR></BR>"
         u"<CENTER><A HREF=\"https://xmpp.org/\">https://xmpp.org/</A></CENTER><BR></BR>"
         u"<HR></HR>";
}

void MLogWnd::Reset() {
  MHtmlWnd::Reset();
  Append(Banner());
  Redraw();
}
