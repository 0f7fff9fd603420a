// The application's images by resource id, icons and image lists. Images are PNG files in
// the Qt resource system under ":/bitmaps/<id>.png"; they are copied opaquely, so they are
// flattened onto white when loaded.
#include "platform/qt/qt_images.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

QImage ResourceImage(int id) {
  static QHash<int, QImage> cache;
  auto found = cache.constFind(id);
  if (found != cache.constEnd()) {
    return found.value();
  }
  QImage loaded(QStringLiteral(":/bitmaps/%1.png").arg(id));
  QImage flat;
  if (!loaded.isNull()) {
    flat = QImage(loaded.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, loaded);
  }
  cache.insert(id, flat);
  return flat;
}

HICON LoadIcon(HINSTANCE, int id) {
  static QHash<int, HICON> icons;
  if (HICON known = icons.value(id, nullptr)) {
    return known;
  }
  QPixmap image(QStringLiteral(":/bitmaps/%1.png").arg(id));
  if (image.isNull()) {
    return nullptr;
  }
  auto* icon = new IconTag{QIcon(image)};
  icons.insert(id, icon);
  return icon;
}

QIcon IconOf(HICON icon) {
  return icon != nullptr ? icon->icon : QIcon();
}

HIMAGELIST ImageList_Create(int width, int height, UINT, int, int) {
  if (width <= 0 || height <= 0) {
    return nullptr;
  }
  auto* list = new ImageListTag;
  list->width = width;
  list->height = height;
  return list;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) {
  if (list == nullptr || bitmap == nullptr || bitmap->image.isNull()) {
    return -1;
  }
  int first = static_cast<int>(list->images.size());
  const QImage& strip = bitmap->image;
  QRgb transparent = qRgb(GetRValue(mask), GetGValue(mask), GetBValue(mask));
  for (int x = 0; x + list->width <= strip.width(); x += list->width) {
    QImage cut = strip.copy(x, 0, list->width, std::min(list->height, strip.height()))
                     .convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < cut.height(); ++row) {
      auto* pixels = reinterpret_cast<QRgb*>(cut.scanLine(row));
      for (int column = 0; column < cut.width(); ++column) {
        if ((pixels[column] & 0xFFFFFF) == (transparent & 0xFFFFFF)) {
          pixels[column] = qRgba(0, 0, 0, 0);
        }
      }
    }
    list->images.push_back(QPixmap::fromImage(cut));
  }
  return first;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  return list != nullptr ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  delete list;
  return list != nullptr ? TRUE : FALSE;
}
