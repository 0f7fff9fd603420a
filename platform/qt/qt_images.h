// The backend's GDI objects (fonts, bitmaps, brushes), device contexts, icons and image lists.
#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "platform/controls.h"
#include "platform/gdi.h"

struct GdiObjectTag {
  enum class Kind { Font, Bitmap, Brush };
  Kind kind = Kind::Brush;
  bool stock = false;  // never deleted
  LOGFONT logFont{};
  QFont font;
  QImage image;
  QColor colour;
};

struct DeviceContextTag {
  enum class Kind { Paint, Memory, Screen };
  Kind kind = Kind::Screen;
  HWND window = nullptr;
  std::unique_ptr<QPainter> painter;
  HGDIOBJ bitmap = nullptr;  // selected into a memory context
  HGDIOBJ font = nullptr;
  HGDIOBJ brush = nullptr;
  COLORREF textColour = 0;
  COLORREF backColour = 0xFFFFFF;
  int backMode = OPAQUE;
};

struct IconTag {
  QIcon icon;
};

struct ImageListTag {
  int width = 0;
  int height = 0;
  std::vector<QPixmap> images;
};

// The application's images by resource id (":/bitmaps/<id>.png"); a null image when absent.
QImage ResourceImage(int id);
QIcon IconOf(HICON icon);
// The font selected into a context (the application's font when none is).
QFont FontOf(HDC dc);
