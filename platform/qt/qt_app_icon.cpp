#include "platform/qt/qt_app_icon.h"

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QString side = QString::number(size);
    icon.addFile(":/icons/hicolor/" + side + "x" + side + "/apps/org.orvik.Messenger.png",
                 QSize(size, size));
  }
  return icon;
}
