// Menu resource 129: the main frame's "Login", "Menu" and "View" menus. On the desktop every
// entry has a mnemonic (the letter after '&') and the common commands a shortcut (after the
// tab), both shown in the menus. "Fonts" and "Only Online Contacts" have entries of their own
// here, so that the desktop reaches every command the frame handles.
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
  HMENU menu = Popup({{u"Log &On", 40008}, {u"Log O&ff", 40027}, {nullptr, 0}});
  AddPopup(menu, u"&AIM", Popup({{u"&Connect...", 40043}}));
  AddPopup(menu, u"&ICQ", Popup({{u"&Connect...", 40041}}));
  AddPopup(menu, u"&MSN", Popup({{u"&Connect...", 40044}}));
  AddPopup(menu, u"&Yahoo!", Popup({{u"&Connect...", 40042}}));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, 40005, u"E&xit\tCtrl+Q");
  return menu;
}

HMENU MainMenu() {
  HMENU menu = CreatePopupMenu();
  AddPopup(menu, u"&Setup",
           Popup({{u"&Preferences\tCtrl+P", 40004},
                  {u"Pro&xy", 40116},
                  {u"&Fonts", 40154},
                  {u"&LBS", 40193},
                  {u"&tesselcast", 40205},
                  {u"Setup &Wizard", 40026}}));
  AddPopup(menu, u"&Contacts",
           Popup({{u"&Add", 40198},
                  {u"&Remove", 40199},
                  {u"Re&name", 40200},
                  {u"&Info", 40201},
                  {u"C&hat", 40202},
                  {u"Calculate Rou&te", 40213},
                  {u"&Join Room...", 40260},
                  {u"Room &Participants", 40261}}));
  AddPopup(menu, u"S&tatus",
           Popup({{u"&Available", 40034},
                  {u"&Busy", 40035},
                  {u"A&way", 40036},
                  {u"Be &Right Back", 40037},
                  {u"In a &Meeting", 40062}}));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, 40157, u"Ridid&Edazov");
  return menu;
}

HMENU ViewMenu() {
  return Popup({{u"&Contacts\tCtrl+R", 40022},
                {u"&Only Online Contacts", 40162},
                {u"&Log Window\tCtrl+L", 40249},
                {u"&Headlines", 40164},
                {u"&MyLocation", 40206},
                {u"C&AP Alerts", 40207},
                {u"&Help\tF1", 40013},
                {u"A&bout", 40003}});
}

}  // namespace

HMENU LoadFrameMenu() {
  HMENU bar = CreateMenu();
  AddPopup(bar, u"&Login", LoginMenu());
  AddPopup(bar, u"&Menu", MainMenu());
  AddPopup(bar, u"&View", ViewMenu());
  return bar;
}
