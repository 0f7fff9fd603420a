// Device contexts, GDI objects, rectangles, edges and bitmaps over QPainter and QImage.
#include <QApplication>
#include <QFontDatabase>
#include <QScreen>

#include "platform/qt/qt_images.h"
#include "platform/qt/qt_window.h"

namespace {

HGDIOBJ MakeBrush(QColor colour, bool stock) {
  auto* brush = new GdiObjectTag;
  brush->kind = GdiObjectTag::Kind::Brush;
  brush->colour = colour;
  brush->stock = stock;
  return brush;
}

// A painter on the bitmap selected into a memory context, begun on first use.
QPainter* PainterOf(HDC dc) {
  if (dc == nullptr) {
    return nullptr;
  }
  if (!dc->painter && dc->kind == DeviceContextTag::Kind::Memory && dc->bitmap != nullptr &&
      !dc->bitmap->image.isNull()) {
    dc->painter = std::make_unique<QPainter>(&dc->bitmap->image);
    dc->painter->setRenderHint(QPainter::TextAntialiasing);
  }
  return dc->painter.get();
}

void EndPainter(HDC dc) {
  if (dc->painter) {
    dc->painter->end();
    dc->painter.reset();
  }
}

}  // namespace

QPainter* ActivePainter(HDC dc) {
  return PainterOf(dc);
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  QtWindow* state = NativeOf(window);
  if (state == nullptr || paint == nullptr) {
    return nullptr;
  }
  auto* dc = new DeviceContextTag;
  dc->kind = DeviceContextTag::Kind::Paint;
  dc->window = window;
  dc->font = state->font;
  if (state->inPaint && !state->widget.isNull()) {
    dc->painter = std::make_unique<QPainter>(state->widget.data());
  }
  QSize client = ClientSize(state);
  *paint = PAINTSTRUCT{dc, FALSE, RECT{0, 0, client.width(), client.height()}};
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (paint == nullptr || paint->hdc == nullptr) {
    return FALSE;
  }
  EndPainter(paint->hdc);
  delete paint->hdc;
  return TRUE;
}

HDC GetDC(HWND window) {
  auto* dc = new DeviceContextTag;
  dc->kind = DeviceContextTag::Kind::Screen;
  dc->window = window;
  if (QtWindow* state = NativeOf(window)) {
    dc->font = state->font;
  }
  return dc;
}

int ReleaseDC(HWND, HDC dc) {
  if (dc == nullptr) {
    return 0;
  }
  EndPainter(dc);
  delete dc;
  return 1;
}

HDC CreateCompatibleDC(HDC) {
  auto* dc = new DeviceContextTag;
  dc->kind = DeviceContextTag::Kind::Memory;
  return dc;
}

BOOL DeleteDC(HDC dc) {
  return ReleaseDC(nullptr, dc);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  auto* bitmap = new GdiObjectTag;
  bitmap->kind = GdiObjectTag::Kind::Bitmap;
  bitmap->image = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  bitmap->image.fill(Qt::white);
  return bitmap;
}

namespace {

// What a context holds before anything is selected into it, as a stock object of each kind:
// selecting one back restores that state. Without it the usual "select, draw, select the
// previous one back, delete" would leave the deleted object selected whenever the previous
// selection was the context's default, and the next use of the context would read freed
// memory.
HGDIOBJ DefaultObject(GdiObjectTag::Kind kind) {
  static GdiObjectTag* defaults[3] = {};
  GdiObjectTag*& object = defaults[static_cast<int>(kind)];
  if (object == nullptr) {
    object = new GdiObjectTag;
    object->kind = kind;
    object->stock = true;
  }
  return object;
}

// Selects `object` into `slot`; the previous selection is returned (the default object when
// there was none).
HGDIOBJ Swap(HGDIOBJ& slot, HGDIOBJ object) {
  HGDIOBJ previous = slot != nullptr ? slot : DefaultObject(object->kind);
  slot = object == DefaultObject(object->kind) ? nullptr : object;
  return previous;
}

}  // namespace

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (dc == nullptr || object == nullptr) {
    return nullptr;
  }
  switch (object->kind) {
    case GdiObjectTag::Kind::Bitmap:
      if (dc->bitmap == object) {
        return object;
      }
      EndPainter(dc);
      return Swap(dc->bitmap, object);
    case GdiObjectTag::Kind::Font:
      return Swap(dc->font, object);
    case GdiObjectTag::Kind::Brush:
      return Swap(dc->brush, object);
  }
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
  if (object == nullptr || object->stock) {
    return FALSE;
  }
  delete object;
  return TRUE;
}

int GetObject(HGDIOBJ object, int size, void* out) {
  if (object == nullptr || out == nullptr) {
    return 0;
  }
  if (object->kind == GdiObjectTag::Kind::Bitmap && size >= static_cast<int>(sizeof(BITMAP))) {
    const QImage& image = object->image;
    *static_cast<BITMAP*>(out) = BITMAP{
        0, image.width(), image.height(), static_cast<LONG>(image.bytesPerLine()), 1, 32, nullptr};
    return sizeof(BITMAP);
  }
  if (object->kind == GdiObjectTag::Kind::Font && size >= static_cast<int>(sizeof(LOGFONT))) {
    *static_cast<LOGFONT*>(out) = object->logFont;
    return sizeof(LOGFONT);
  }
  return 0;
}

int GetDeviceCaps(HDC, int index) {
  QScreen* screen = QApplication::primaryScreen();
  if (screen == nullptr) {
    return 0;
  }
  switch (index) {
    case LOGPIXELSX:
      return static_cast<int>(screen->logicalDotsPerInchX());
    case LOGPIXELSY:
      return static_cast<int>(screen->logicalDotsPerInchY());
    case HORZRES:
      return screen->geometry().width();
    case VERTRES:
      return screen->geometry().height();
    default:
      return 0;
  }
}

int EnumFontFamiliesW(HDC, const WCHAR* family, FONTENUMPROC procedure, LPARAM param) {
  if (procedure == nullptr) {
    return 0;
  }
  QStringList names = family == nullptr ? QFontDatabase::families() : QStringList();
  if (family != nullptr) {
    QString name = ToQString(family);
    for (int i = 0; i < QFontDatabase::styles(name).size(); ++i) {
      names.append(name);
    }
  }
  int result = 0;
  for (const QString& name : names) {
    LOGFONT record{};
    record.lfWeight = FW_NORMAL;
    record.lfCharSet = DEFAULT_CHARSET;
    int length = std::min<int>(static_cast<int>(name.size()), LF_FACESIZE - 1);
    for (int i = 0; i < length; ++i) {
      record.lfFaceName[i] = name.at(i).unicode();
    }
    result = procedure(&record, param);
    if (result == 0) {
      break;
    }
  }
  return result;
}

COLORREF GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW:
      return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
      return RGB(0, 0, 0);
    case COLOR_BTNFACE:
      return RGB(212, 208, 200);
    default:
      return RGB(192, 192, 192);
  }
}

HBRUSH GetSysColorBrush(int index) {
  static HGDIOBJ window = MakeBrush(ToQColor(GetSysColor(COLOR_WINDOW)), true);
  static HGDIOBJ text = MakeBrush(ToQColor(GetSysColor(COLOR_WINDOWTEXT)), true);
  static HGDIOBJ face = MakeBrush(ToQColor(GetSysColor(COLOR_BTNFACE)), true);
  switch (index) {
    case COLOR_WINDOWTEXT:
      return text;
    case COLOR_BTNFACE:
      return face;
    default:
      return window;
  }
}

HBRUSH CreateSolidBrush(COLORREF colour) {
  return MakeBrush(ToQColor(colour), false);
}

HGDIOBJ GetStockObject(int index) {
  static HGDIOBJ white = MakeBrush(Qt::white, true);
  static HGDIOBJ black = MakeBrush(Qt::black, true);
  return index == BLACK_BRUSH ? black : white;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  QPainter* painter = PainterOf(dc);
  if (painter == nullptr || rect == nullptr || brush == nullptr) {
    return 0;
  }
  painter->fillRect(
      QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top),
      brush->colour);
  return 1;
}

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  QPainter* painter = PainterOf(dc);
  if (painter == nullptr || rect == nullptr) {
    return FALSE;
  }
  QRect area(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  if (area.width() < 2 || area.height() < 2) {
    return FALSE;
  }
  QColor shadow(128, 128, 128);
  QColor light(255, 255, 255);
  if ((flags & BF_MIDDLE) != 0) {
    painter->fillRect(area.adjusted(1, 1, -1, -1), ToQColor(GetSysColor(COLOR_BTNFACE)));
  }
  // Sunken outer ring: shadow at the top and left, light at the bottom and right; a raised
  // inner ring the other way round. Together they look etched.
  bool sunkenOuter = (edge & BDR_SUNKENOUTER) != 0;
  QColor outerTopLeft = sunkenOuter ? shadow : light;
  QColor outerBottomRight = sunkenOuter ? light : shadow;
  painter->setPen(outerTopLeft);
  painter->drawLine(area.topLeft(), area.topRight());
  painter->drawLine(area.topLeft(), area.bottomLeft());
  painter->setPen(outerBottomRight);
  painter->drawLine(area.bottomLeft(), area.bottomRight());
  painter->drawLine(area.topRight(), area.bottomRight());
  if ((edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) != 0 && area.height() > 3) {
    QRect inner = area.adjusted(1, 1, -1, -1);
    bool raisedInner = (edge & BDR_RAISEDINNER) != 0;
    painter->setPen(raisedInner ? light : shadow);
    painter->drawLine(inner.topLeft(), inner.topRight());
    painter->setPen(raisedInner ? shadow : light);
    painter->drawLine(inner.bottomLeft(), inner.bottomRight());
  }
  return TRUE;
}

HBITMAP LoadBitmap(HINSTANCE, int id) {
  QImage image = ResourceImage(id);
  if (image.isNull()) {
    return nullptr;
  }
  auto* bitmap = new GdiObjectTag;
  bitmap->kind = GdiObjectTag::Kind::Bitmap;
  bitmap->image = image;
  return bitmap;
}

BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD) {
  QPainter* painter = PainterOf(target);
  if (painter == nullptr || source == nullptr || source->bitmap == nullptr) {
    return FALSE;
  }
  // Drawing into the source must be finished before it is read.
  if (source->painter && source != target) {
    source->painter->end();
    source->painter.reset();
  }
  painter->save();
  painter->setCompositionMode(QPainter::CompositionMode_Source);
  painter->drawImage(QPoint(x, y), source->bitmap->image, QRect(sourceX, sourceY, width, height));
  painter->restore();
  return TRUE;
}

BOOL SaveDCToPng(HDC dc, const char* path) {
  if (dc == nullptr || dc->bitmap == nullptr || path == nullptr) {
    return FALSE;
  }
  EndPainter(dc);
  return dc->bitmap->image.save(QString::fromUtf8(path), "PNG") ? TRUE : FALSE;
}

BOOL SaveWindowToPng(HWND window, const char* path) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr || path == nullptr) {
    return FALSE;
  }
  return widget->grab().save(QString::fromUtf8(path), "PNG") ? TRUE : FALSE;
}
