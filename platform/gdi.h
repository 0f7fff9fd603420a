// Painting: device contexts on a window or an off-screen bitmap, fonts from LOGFONT records,
// text metrics and extents, text, edges, rectangles, bitmaps by resource id and copying
// between contexts. Colours are COLORREF values 0x00BBGGRR, as the handheld stored them.
#pragma once

#include "platform/logfont.h"
#include "platform/window.h"

using COLORREF = DWORD;
constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
  return c & 0xFF;
}
constexpr int GetGValue(COLORREF c) {
  return (c >> 8) & 0xFF;
}
constexpr int GetBValue(COLORREF c) {
  return (c >> 16) & 0xFF;
}

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
};

struct TEXTMETRIC {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
};

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  void* bmBits;
};

// --- device contexts
// ------------------------------------------------------------------------------ Inside WM_PAINT: a
// context on the window's widget, clipped to what needs painting.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// A context for measuring outside painting (the screen's when `window` is null).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// An off-screen context; it draws into the bitmap selected into it.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Selects a font, bitmap or brush and returns the one it replaces (null when none).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
// GetObject for a bitmap fills a BITMAP; for a font, a LOGFONT. Returns the bytes written.
int GetObject(HGDIOBJ object, int size, void* out);

constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
int GetDeviceCaps(HDC dc, int index);

// --- fonts and text ------------------------------------------------------------------------------
// lfHeight < 0 is a character height in pixels, > 0 a cell height, 0 the default size;
// weight, italic, underline, strike-out and the face are honoured.
HFONT CreateFontIndirect(const LOGFONT* font);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
BOOL GetTextExtentPoint32(HDC dc, const WCHAR* text, int count, SIZE* size);
// How many of the first `count` characters fit in `maxExtent` pixels (in *fit) and the
// extent of each prefix that fits (in `extents`, may be null; entries past *fit are left
// alone); *size is the whole text's extent.
BOOL GetTextExtentExPoint(HDC dc, const WCHAR* text, int count, int maxExtent, int* fit,
                          int* extents, SIZE* size);
// The screen's font families: with `family` null, `procedure` gets one record per family;
// with a family name, one per face (style) of that family. lfFaceName holds the family (cut
// to LF_FACESIZE - 1 characters). The procedure returns non-zero to go on; the call returns
// the last value it returned (0 when there was nothing to enumerate).
using FONTENUMPROC = int (*)(const LOGFONT* font, LPARAM param);
int EnumFontFamiliesW(HDC dc, const WCHAR* family, FONTENUMPROC procedure, LPARAM param);
COLORREF SetTextColor(HDC dc, COLORREF colour);
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
int SetBkMode(HDC dc, int mode);
COLORREF SetBkColor(HDC dc, COLORREF colour);

constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_WORDBREAK = 0x0010;
// Draws `count` characters (-1: up to the terminator) in `rect`; returns the text height.
int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format);
BOOL ExtTextOutW(HDC dc, int x, int y, const WCHAR* text, int count);

// --- shapes and bitmaps
// ---------------------------------------------------------------------------
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_BTNFACE = 15;
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
HBRUSH CreateSolidBrush(COLORREF colour);
// Stock objects: the window background brush for COLOR_WINDOW and friends.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
HGDIOBJ GetStockObject(int index);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);

// Bitmaps by resource id (the application's images); null when there is none.
HBITMAP LoadBitmap(HINSTANCE instance, int id);
constexpr DWORD SRCCOPY = 0x00CC0020;
BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop);

// Writes the image behind an off-screen context, or a window's current look (its widget
// rendered with its children), to a PNG file. For tests and screenshots.
BOOL SaveDCToPng(HDC dc, const char* path);
BOOL SaveWindowToPng(HWND window, const char* path);
