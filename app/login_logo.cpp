// The program's logo for the login window, drawn once at run time: a speech bubble and the
// name "orvik" over the word "Messenger".
#include "app/login_wnd.h"

namespace {

constexpr COLORREF kBubble = RGB(30, 110, 200);
constexpr COLORREF kName = RGB(20, 50, 110);
constexpr COLORREF kSubtitle = RGB(110, 110, 110);

void Fill(HDC dc, LONG left, LONG top, LONG right, LONG bottom, COLORREF colour) {
  RECT rect{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void DrawBubble(HDC dc) {
  Fill(dc, 6, 6, 50, 38, kBubble);
  Fill(dc, 4, 8, 52, 36, kBubble);  // rounds the corners off a little
  Fill(dc, 12, 38, 22, 42, kBubble);
  Fill(dc, 12, 42, 17, 46, kBubble);
  for (LONG x : {14, 25, 36}) {
    Fill(dc, x, 19, x + 6, 25, RGB(255, 255, 255));
  }
}

void DrawWords(HDC dc, const WCHAR* text, LONG height, LONG weight, COLORREF colour, RECT rect) {
  LOGFONT record{};
  record.lfHeight = -height;
  record.lfWeight = weight;
  record.lfCharSet = DEFAULT_CHARSET;
  const WCHAR face[] = u"DejaVu Sans";
  for (int i = 0; face[i] != 0; ++i) {
    record.lfFaceName[i] = face[i];
  }
  HFONT font = CreateFontIndirect(&record);
  HGDIOBJ previous = SelectObject(dc, font);
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text, -1, &rect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  DeleteObject(font);
}

}  // namespace

HDC CreateLogo(HBITMAP* bitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  *bitmap = CreateCompatibleBitmap(dc, kLogoWidth, kLogoHeight);
  if (dc == nullptr || *bitmap == nullptr) {
    return dc;
  }
  SelectObject(dc, *bitmap);
  Fill(dc, 0, 0, kLogoWidth, kLogoHeight, RGB(255, 255, 255));
  DrawBubble(dc);
  DrawWords(dc, u"orvik", 30, FW_BOLD, kName, RECT{60, 0, kLogoWidth, 36});
  DrawWords(dc, u"Messenger", 13, FW_NORMAL, kSubtitle, RECT{62, 35, kLogoWidth, kLogoHeight});
  return dc;
}
