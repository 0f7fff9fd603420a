// The platform's logical font record, as fonts are described and stored per window.
#pragma once

#include <atomic>

#include "platform/win32_types.h"

constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE CLEARTYPE_QUALITY = 5;
constexpr BYTE CLEARTYPE_COMPAT_QUALITY = 6;
constexpr int LF_FACESIZE = 32;

struct LOGFONT {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};

// number * numerator / denominator, rounded half away from zero, computed in 64 bits;
// -1 when the denominator is 0 or the result does not fit.
inline int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) {
    return -1;
  }
  long long product = static_cast<long long>(number) * numerator;
  long long half = (denominator < 0 ? -denominator : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  long long magnitude = (product < 0 ? -product : product) + half;
  long long result = magnitude / (denominator < 0 ? -denominator : denominator);
  result = negative ? -result : result;
  if (result > 0x7FFFFFFF || result < -0x7FFFFFFF - 1) {
    return -1;
  }
  return static_cast<int>(result);
}

// The desktop's default text size in points, recorded by the display backend when it starts
// (the handheld had a fixed one). 0 while no display runs (headless programs and tests).
inline std::atomic<int> g_desktopFontPoints{0};
inline int DesktopFontPointSize() {
  return g_desktopFontPoints.load();
}
