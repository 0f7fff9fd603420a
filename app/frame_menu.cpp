// Menu resource 129: the main frame's "Login", "Menu" and "View" menus.
#include <initializer_list>

#include "app/jabber_wnd.h"
#include "platform/menu.h"

namespace {

struct Entry {
  const WCHAR* text;  // null: separator
  UINT id;
};

HMENU Popup(std::initializer_list<Entry> entries) {
  HMENU menu = CreatePopupMenu();
  for (const Entry& entry : entries) {
    if (entry.text == nullptr) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING, entry.id, entry.text);
    }
  }
  return menu;
}

void AddPopup(HMENU menu, const WCHAR* text, HMENU popup) {
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
}

HMENU LoginMenu() {
  HMENU menu = Popup({{u"Log On", 40008}, {u"Log Off", 40027}, {nullptr, 0}});
  AddPopup(menu, u"AIM", Popup({{u"Connect...", 40043}}));
  AddPopup(menu, u"ICQ", Popup({{u"Connect...", 40041}}));
  AddPopup(menu, u"MSN", Popup({{u"Connect...", 40044}}));
  AddPopup(menu, u"Yahoo!", Popup({{u"Connect...", 40042}}));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, 40005, u"Exit");
  return menu;
}

HMENU MainMenu() {
  HMENU menu = CreatePopupMenu();
  AddPopup(menu, u"Setup",
           Popup({{u"Preferences", 40004},
                  {u"Proxy", 40116},
                  {u"LBS", 40193},
                  {u"tesselcast", 40205},
                  {u"Setup Wizard", 40026}}));
  AddPopup(menu, u"Contacts",
           Popup({{u"Add", 40198},
                  {u"Remove", 40199},
                  {u"Rename", 40200},
                  {u"Info", 40201},
                  {u"Chat", 40202}}));
  AddPopup(menu, u"Status",
           Popup({{u"Available", 40034},
                  {u"Busy", 40035},
                  {u"Away", 40036},
                  {u"Be Right Back", 40037},
                  {u"In a Meeting", 40062}}));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, 40157, u"RididEdazov");
  return menu;
}

HMENU ViewMenu() {
  return Popup({{u"Contacts", 40022},
                {u"Log Window", 40249},
                {u"MyLocation", 40206},
                {u"Help", 40013},
                {u"About", 40003}});
}

}  // namespace

HMENU LoadFrameMenu() {
  HMENU bar = CreateMenu();
  AddPopup(bar, u"Login", LoginMenu());
  AddPopup(bar, u"Menu", MainMenu());
  AddPopup(bar, u"View", ViewMenu());
  return bar;
}
