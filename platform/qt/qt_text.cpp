// Fonts from LOGFONT records, text metrics and extents, and drawing text.
#include <QApplication>
#include <QFontMetrics>
#include <QTextLayout>
#include <cmath>

#include "platform/qt/qt_images.h"
#include "platform/qt/qt_window.h"

QPainter* ActivePainter(HDC dc);

namespace {

// The handheld's system face names stand for the desktop's own font.
bool IsSystemFace(const QString& face) {
  return face.isEmpty() || face.compare("System", Qt::CaseInsensitive) == 0 ||
         face.compare("Tahoma", Qt::CaseInsensitive) == 0;
}

QFont MakeFont(const LOGFONT& record) {
  int length = 0;
  while (length < LF_FACESIZE && record.lfFaceName[length] != 0) {
    ++length;
  }
  QString face = ToQString(record.lfFaceName, length);
  QFont font = QApplication::font();
  if (!IsSystemFace(face)) {
    font.setFamily(face);
  }
  int pixels = 12;
  if (record.lfHeight < 0) {
    pixels = -record.lfHeight;
  } else if (record.lfHeight > 0) {
    // A positive height is the cell height; the character itself is about four fifths of it.
    pixels = std::max(1, (record.lfHeight * 4 + 2) / 5);
  }
  font.setPixelSize(std::max(pixels, 1));
  int weight = record.lfWeight == 0 ? FW_NORMAL : std::clamp<int>(record.lfWeight, 100, 900);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(record.lfItalic != 0);
  font.setUnderline(record.lfUnderline != 0);
  font.setStrikeOut(record.lfStrikeOut != 0);
  return font;
}

QString TextOf(const WCHAR* text, int count) {
  return ToQString(text, count);
}

}  // namespace

QFont FontOfHandle(HFONT font) {
  if (font == nullptr || font->kind != GdiObjectTag::Kind::Font) {
    return QApplication::font();
  }
  return font->font;
}

QFont FontOf(HDC dc) {
  return FontOfHandle(dc != nullptr ? dc->font : nullptr);
}

HFONT CreateFontIndirect(const LOGFONT* record) {
  if (record == nullptr) {
    return nullptr;
  }
  auto* font = new GdiObjectTag;
  font->kind = GdiObjectTag::Kind::Font;
  font->logFont = *record;
  font->font = MakeFont(*record);
  return font;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
  if (dc == nullptr || metrics == nullptr) {
    return FALSE;
  }
  QFont font = FontOf(dc);
  QFontMetrics measure(font);
  metrics->tmHeight = measure.height();
  metrics->tmAscent = measure.ascent();
  metrics->tmDescent = measure.descent();
  metrics->tmInternalLeading = std::max(0, measure.height() - font.pixelSize());
  metrics->tmExternalLeading = measure.leading();
  metrics->tmAveCharWidth = measure.averageCharWidth();
  metrics->tmMaxCharWidth = measure.maxWidth();
  metrics->tmWeight = font.weight();
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC dc, const WCHAR* text, int count, SIZE* size) {
  if (dc == nullptr || size == nullptr) {
    return FALSE;
  }
  QFontMetrics measure(FontOf(dc));
  size->cx = measure.horizontalAdvance(TextOf(text, count));
  size->cy = measure.height();
  return TRUE;
}

BOOL GetTextExtentExPoint(HDC dc, const WCHAR* text, int count, int maxExtent, int* fit,
                          int* extents, SIZE* size) {
  if (dc == nullptr || text == nullptr || count < 0) {
    return FALSE;
  }
  QFont font = FontOf(dc);
  QString whole = TextOf(text, count);
  // One shaping of the whole text gives the extent of every prefix, kerning included, as
  // drawing it will place the characters.
  QTextLayout layout(whole, font);
  layout.setCacheEnabled(true);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) {
    line.setLineWidth(1e9);
  }
  layout.endLayout();
  auto prefix = [&](int length) {
    return line.isValid() ? static_cast<int>(std::ceil(line.cursorToX(length) - 0.01)) : 0;
  };
  // As on the handheld, extents are filled for the characters that fit.
  int fitted = 0;
  for (int i = 1; i <= count; ++i) {
    int extent = prefix(i);
    if (extent > maxExtent) {
      break;
    }
    if (extents != nullptr) {
      extents[i - 1] = extent;
    }
    fitted = i;
  }
  if (fit != nullptr) {
    *fit = fitted;
  }
  if (size != nullptr) {
    size->cx = prefix(count);
    size->cy = QFontMetrics(font).height();
  }
  return TRUE;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
  if (dc == nullptr) {
    return 0;
  }
  COLORREF previous = dc->textColour;
  dc->textColour = colour;
  return previous;
}

int SetBkMode(HDC dc, int mode) {
  if (dc == nullptr) {
    return 0;
  }
  int previous = dc->backMode;
  dc->backMode = mode;
  return previous;
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
  if (dc == nullptr) {
    return 0;
  }
  COLORREF previous = dc->backColour;
  dc->backColour = colour;
  return previous;
}

int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format) {
  if (dc == nullptr || text == nullptr || rect == nullptr) {
    return 0;
  }
  QString content = TextOf(text, count);
  QFont font = FontOf(dc);
  int flags = Qt::AlignTop;
  flags |= (format & DT_CENTER) != 0  ? Qt::AlignHCenter
           : (format & DT_RIGHT) != 0 ? Qt::AlignRight
                                      : Qt::AlignLeft;
  if ((format & DT_VCENTER) != 0) {
    flags = (flags & ~Qt::AlignTop) | Qt::AlignVCenter;
  }
  if ((format & DT_SINGLELINE) != 0) {
    flags |= Qt::TextSingleLine;
  }
  if ((format & DT_WORDBREAK) != 0) {
    flags |= Qt::TextWordWrap;
  }
  if ((format & DT_NOCLIP) != 0) {
    flags |= Qt::TextDontClip;
  }
  QRect area(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  QFontMetrics measure(font);
  QRect needed = measure.boundingRect(area, flags, content);
  if ((format & DT_CALCRECT) != 0) {
    rect->right = rect->left + needed.width();
    rect->bottom = rect->top + needed.height();
    return needed.height();
  }
  QPainter* painter = ActivePainter(dc);
  if (painter == nullptr) {
    return needed.height();
  }
  painter->setFont(font);
  if (dc->backMode == OPAQUE) {
    painter->fillRect(needed, ToQColor(dc->backColour));
  }
  painter->setPen(ToQColor(dc->textColour));
  painter->drawText(area, flags, content);
  return needed.height();
}

BOOL ExtTextOutW(HDC dc, int x, int y, const WCHAR* text, int count) {
  QPainter* painter = ActivePainter(dc);
  if (painter == nullptr || text == nullptr) {
    return FALSE;
  }
  QFont font = FontOf(dc);
  painter->setFont(font);
  painter->setPen(ToQColor(dc->textColour));
  painter->drawText(QPoint(x, y + QFontMetrics(font).ascent()), TextOf(text, count));
  return TRUE;
}
