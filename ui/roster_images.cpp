#include "ui/roster_images.h"

#include "xml/text_convert.h"

namespace {

constexpr int kOnlineRow = 0;
constexpr int kOfflineRow = 5;
constexpr int kAwayRow = 12;

int ServiceColumn(const mstring& serviceType) {
  static const char* const kColumns[] = {"aim", "icq", "jabber", "msn", "yahoo"};
  for (int column = 0; column < 5; ++column) {
    if (mstricmp(serviceType.c_str(), kColumns[column]) == 0) {
      return column;
    }
  }
  return 2;  // "jabber": the user's own network, and every network the table does not know
}

bool ShowsAvailable(const mstring& show) {
  static const char* const kAvailable[] = {"online",    "Online", "Available",
                                           "available", "chat",   "Chat"};
  if (show.empty()) {
    return true;
  }
  for (const char* text : kAvailable) {
    if (show == text) {
      return true;
    }
  }
  return false;
}

}  // namespace

int PresenceImage(const mstring& serviceType, std::uint32_t online, const mstring& show) {
  int column = ServiceColumn(serviceType);
  if (online != 1) {
    return kOfflineRow + column;
  }
  return (ShowsAvailable(show) ? kOnlineRow : kAwayRow) + column;
}

wmstring RosterDisplayText(const wmstring& name, const mstring& bracket, bool showStatus) {
  wmstring text(name);
  std::uint32_t at = text.find(u'@');
  if (at != wmstring::npos) {
    text.truncate(at);
  }
  if (showStatus && !bracket.empty()) {
    text += u"(";
    text += utf8_to_wide(bracket);
    text += u")";
  }
  return text;
}

HIMAGELIST CreateRosterImageList(HINSTANCE instance, bool smallBitmaps) {
  int width = smallBitmaps ? 14 : 20;
  int height = smallBitmaps ? 17 : 25;
  HBITMAP bitmap = LoadBitmap(instance, smallBitmaps ? kSmallRosterBitmap : kLargeRosterBitmap);
  if (bitmap == nullptr) {
    return nullptr;
  }
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR | ILC_MASK, kRosterImageCount, 0);
  if (list != nullptr && ImageList_AddMasked(list, bitmap, kRosterMaskColour) < 0) {
    ImageList_Destroy(list);
    list = nullptr;
  }
  DeleteObject(bitmap);
  return list;
}
