// Draws the program's images into resources/bitmaps/<id>.png and writes resources/orvik.qrc:
// the application icon (101), the five menu bar buttons (8216), the roster's presence and
// group images (265 large, 266 small) and the emoticons. Everything
// here is drawn with QPainter shapes for this project. Build and run it again after changing a
// picture (the PNGs and the .qrc are committed, so a normal build does not need it):
//   g++ -std=c++20 -fPIC resources/tools/draw_art.cpp -o draw_art $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen ./draw_art resources
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cmath>
#include <functional>
#include <map>
#include <string>

namespace {

constexpr int kSize = 16;
using Draw = std::function<void(QPainter&)>;

const QColor kYellow(255, 214, 51);
const QColor kOutline(120, 80, 0);
const QColor kRed(220, 30, 40);
const QColor kDark(40, 30, 20);

void Face(QPainter& p, QColor fill = kYellow) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(fill);
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void Eyes(QPainter& p, qreal y = 6) {
  p.setPen(Qt::NoPen);
  p.setBrush(kDark);
  p.drawEllipse(QPointF(5.8, y), 1.1, 1.4);
  p.drawEllipse(QPointF(10.2, y), 1.1, 1.4);
}

void Smile(QPainter& p, qreal depth = 2.5) {
  QPainterPath mouth;
  mouth.moveTo(4.5, 9.5);
  mouth.quadTo(8, 9.5 + depth * 1.6, 11.5, 9.5);
  p.setPen(QPen(kDark, 1.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(mouth);
}

void Frown(QPainter& p) {
  QPainterPath mouth;
  mouth.moveTo(5, 11.5);
  mouth.quadTo(8, 8.5, 11, 11.5);
  p.setPen(QPen(kDark, 1.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(mouth);
}

void Line(QPainter& p, qreal x1, qreal y1, qreal x2, qreal y2, QColor colour = kDark,
          qreal width = 1.2) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Heart(QPainter& p, QRectF box, QColor fill) {
  QPainterPath heart;
  qreal x = box.x(), y = box.y(), w = box.width(), h = box.height();
  heart.moveTo(x + w / 2, y + h);
  heart.cubicTo(x - w * 0.1, y + h * 0.55, x + w * 0.05, y - h * 0.1, x + w / 2, y + h * 0.28);
  heart.cubicTo(x + w * 0.95, y - h * 0.1, x + w * 1.1, y + h * 0.55, x + w / 2, y + h);
  p.setPen(QPen(fill.darker(150), 1));
  p.setBrush(fill);
  p.drawPath(heart);
}

void Star(QPainter& p, QPointF centre, qreal outer, QColor fill) {
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    qreal radius = i % 2 == 0 ? outer : outer * 0.45;
    qreal angle = -M_PI / 2 + i * M_PI / 5;
    star << QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
  }
  p.setPen(QPen(fill.darker(160), 1));
  p.setBrush(fill);
  p.drawPolygon(star);
}

void Flower(QPainter& p, QPointF centre, QColor petals) {
  p.setPen(Qt::NoPen);
  p.setBrush(petals);
  for (int i = 0; i < 5; ++i) {
    qreal angle = i * 2 * M_PI / 5;
    p.drawEllipse(QPointF(centre.x() + 2.6 * std::cos(angle), centre.y() + 2.6 * std::sin(angle)),
                  2.2, 2.2);
  }
  p.setBrush(QColor(250, 200, 40));
  p.drawEllipse(centre, 1.6, 1.6);
}

void Stem(QPainter& p, qreal top) {
  Line(p, 8, top, 8, 15, QColor(40, 140, 40), 1.4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 170, 60));
  p.drawEllipse(QPointF(10, 12), 2, 1);
}

void Rose(QPainter& p, QColor colour) {
  Stem(p, 7);
  p.setPen(QPen(colour.darker(150), 1));
  p.setBrush(colour);
  p.drawEllipse(QPointF(8, 5), 4, 3.8);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(6, 3, 4, 4), 0, 270 * 16);
}

void Bulb(QPainter& p, QColor glass) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(glass);
  p.drawEllipse(QRectF(3.5, 1, 9, 9));
  p.setBrush(QColor(150, 150, 160));
  p.drawRect(QRectF(6, 10, 4, 4));
  Line(p, 6, 12, 10, 12, QColor(90, 90, 100), 1);
}

void Cake(QPainter& p, bool candles) {
  p.setPen(QPen(QColor(140, 80, 40), 1));
  p.setBrush(QColor(240, 200, 150));
  p.drawRect(QRectF(2.5, 8.5, 11, 6));
  p.setBrush(QColor(250, 120, 170));
  p.drawRect(QRectF(2.5, 8.5, 11, 2));
  if (candles) {
    for (qreal x : {5.0, 8.0, 11.0}) {
      Line(p, x, 4.5, x, 8, QColor(60, 120, 220), 1.4);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 150, 0));
      p.drawEllipse(QPointF(x, 3), 0.9, 1.4);
    }
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(8, 6.5), 1.8, 1.8);
  }
}

void Gift(QPainter& p, bool bow) {
  p.setPen(QPen(QColor(30, 60, 140), 1));
  p.setBrush(QColor(70, 120, 230));
  p.drawRect(QRectF(2.5, 6.5, 11, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  p.drawRect(QRectF(7, 6.5, 2, 8));
  p.drawRect(QRectF(2.5, 9.5, 11, 2));
  if (bow) {
    p.drawEllipse(QPointF(5.5, 4.8), 2.5, 1.8);
    p.drawEllipse(QPointF(10.5, 4.8), 2.5, 1.8);
  }
}

void Phone(QPainter& p, bool mobile) {
  if (mobile) {
    p.setPen(QPen(kDark, 1));
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(4.5, 1.5, 7, 13), 1.5, 1.5);
    p.setBrush(QColor(150, 210, 240));
    p.drawRect(QRectF(5.5, 3, 5, 4));
    return;
  }
  p.setPen(QPen(kDark, 1));
  p.setBrush(QColor(200, 40, 40));
  p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7), 2, 2);
  p.drawRoundedRect(QRectF(1.5, 3.5, 13, 3), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 11), 2, 2);
}

void Animal(QPainter& p, QColor fur, bool cat) {
  p.setPen(QPen(fur.darker(170), 1));
  p.setBrush(fur);
  if (cat) {
    p.drawPolygon(QPolygonF({QPointF(2.5, 7), QPointF(3.5, 1.5), QPointF(7, 5)}));
    p.drawPolygon(QPolygonF({QPointF(13.5, 7), QPointF(12.5, 1.5), QPointF(9, 5)}));
  } else {
    p.drawEllipse(QRectF(0.5, 3, 4, 8));
    p.drawEllipse(QRectF(11.5, 3, 4, 8));
  }
  p.drawEllipse(QRectF(2.5, 3.5, 11, 11));
  Eyes(p, 8);
  p.setPen(Qt::NoPen);
  p.setBrush(cat ? QColor(240, 120, 150) : kDark);
  p.drawEllipse(QPointF(8, 11), 1.3, 1);
  if (cat) {
    Line(p, 1, 10.5, 5, 11, kDark, 0.6);
    Line(p, 11, 11, 15, 10.5, kDark, 0.6);
  }
}

void Envelope(QPainter& p) {
  p.setPen(QPen(QColor(80, 80, 110), 1));
  p.setBrush(QColor(250, 250, 235));
  p.drawRect(QRectF(1.5, 3.5, 13, 9));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(1.5, 3.5), QPointF(8, 9), QPointF(14.5, 3.5)}));
}

void Film(QPainter& p, int frames) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 45));
  p.drawRect(QRectF(1, 3, 14, 10));
  p.setBrush(Qt::white);
  for (int i = 0; i < 5; ++i) {
    p.drawRect(QRectF(2 + i * 2.7, 4, 1.3, 1));
    p.drawRect(QRectF(2 + i * 2.7, 11, 1.3, 1));
  }
  p.setBrush(QColor(120, 180, 230));
  qreal width = 12.0 / frames;
  for (int i = 0; i < frames; ++i) {
    p.drawRect(QRectF(2 + i * width, 6, width - 1, 4));
  }
}

void FaceWith(QPainter& p, const std::function<void(QPainter&)>& features, QColor fill = kYellow) {
  Face(p, fill);
  features(p);
}

std::map<int, Draw> Emoticons() {
  std::map<int, Draw> art;
  art[137] = [](QPainter& p) {  // GOOD: halo
    Face(p);
    p.setPen(QPen(QColor(240, 190, 0), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3, 0.3, 10, 2.6));
    Eyes(p, 7);
    Smile(p);
  };
  art[139] = [](QPainter& p) {
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      Smile(q);
    });
  };                            // HAPPY
  art[144] = [](QPainter& p) {  // TONGUE
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      Line(q, 5, 10, 11, 10);
      q.setPen(Qt::NoPen);
      q.setBrush(QColor(235, 80, 110));
      q.drawEllipse(QRectF(7, 10, 3.2, 3.4));
    });
  };
  art[146] = [](QPainter& p) {  // CRY
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      Frown(q);
      q.setPen(Qt::NoPen);
      q.setBrush(QColor(70, 160, 255));
      q.drawEllipse(QRectF(4.2, 7.5, 1.6, 3));
      q.drawEllipse(QRectF(10.2, 7.5, 1.6, 3));
    });
  };
  art[142] = [](QPainter& p) {  // ANGRY
    FaceWith(
        p,
        [](QPainter& q) {
          Eyes(q, 7);
          Line(q, 4, 4, 7.5, 5.5);
          Line(q, 12, 4, 8.5, 5.5);
          Frown(q);
        },
        QColor(245, 110, 70));
  };
  art[153] = [](QPainter& p) {
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      Frown(q);
    });
  };                            // SAD
  art[152] = [](QPainter& p) {  // MAD
    FaceWith(
        p,
        [](QPainter& q) {
          Eyes(q);
          Line(q, 5, 10.5, 11, 10.5);
        },
        QColor(250, 170, 60));
  };
  art[150] = [](QPainter& p) {  // CONFUSED
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      QPainterPath wave;
      wave.moveTo(4.5, 10.5);
      wave.cubicTo(6.5, 8.5, 9.5, 12.5, 11.5, 10);
      q.setPen(QPen(kDark, 1.2));
      q.setBrush(Qt::NoBrush);
      q.drawPath(wave);
    });
  };
  art[154] = [](QPainter& p) {  // SERIOUS
    FaceWith(p, [](QPainter& q) {
      Line(q, 4.5, 6, 7, 6);
      Line(q, 9, 6, 11.5, 6);
      Line(q, 6, 10.5, 10, 10.5);
    });
  };
  art[148] = [](QPainter& p) { Heart(p, QRectF(1.5, 2, 13, 12), kRed); };  // LOVE
  art[155] = [](QPainter& p) {                                             // BAD: little horns
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(QColor(200, 30, 30));
    p.drawPolygon(QPolygonF({QPointF(3, 5), QPointF(2.5, 0.5), QPointF(6, 3)}));
    p.drawPolygon(QPolygonF({QPointF(13, 5), QPointF(13.5, 0.5), QPointF(10, 3)}));
    FaceWith(
        p,
        [](QPainter& q) {
          Eyes(q, 7);
          Smile(q, 2);
        },
        QColor(230, 60, 60));
  };
  art[156] = [](QPainter& p) { Cake(p, true); };  // BIRTHDAYCAKE
  art[157] = [](QPainter& p) {                    // BROKENHEART
    Heart(p, QRectF(1.5, 2, 13, 12), kRed);
    p.setPen(QPen(Qt::white, 1.3));
    p.drawPolyline(QPolygonF({QPointF(8, 4), QPointF(6.5, 7), QPointF(9, 9), QPointF(7.5, 13)}));
  };
  art[159] = [](QPainter& p) { Cake(p, false); };  // CAKE
  art[161] = [](QPainter& p) {                     // CAMERA
    p.setPen(QPen(kDark, 1));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
    p.drawRect(QRectF(5, 2.5, 5, 2));
    p.setBrush(QColor(160, 200, 240));
    p.drawEllipse(QPointF(8, 9), 3, 3);
  };
  art[163] = [](QPainter& p) {  // CAT: sitting
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(QColor(200, 140, 70));
    p.drawEllipse(QRectF(3.5, 7, 9, 8));
    p.drawEllipse(QRectF(5, 2.5, 6, 5.5));
    p.drawPolygon(QPolygonF({QPointF(5.2, 4), QPointF(5.5, 0.8), QPointF(7.5, 3)}));
    p.drawPolygon(QPolygonF({QPointF(10.8, 4), QPointF(10.5, 0.8), QPointF(8.5, 3)}));
    Line(p, 12, 13, 15, 9, QColor(90, 60, 30), 1.2);
  };
  art[165] = [](QPainter& p) { Animal(p, QColor(220, 160, 90), true); };  // CATFACE
  art[167] = [](QPainter& p) {                                            // CLOCK
    p.setPen(QPen(kDark, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    Line(p, 8, 8, 8, 3.5);
    Line(p, 8, 8, 11, 9.5);
  };
  art[169] = [](QPainter& p) {  // COFFEE: steaming cup
    p.setPen(QPen(QColor(90, 50, 20), 1));
    p.setBrush(QColor(130, 80, 40));
    p.drawRect(QRectF(3, 6.5, 8, 7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(10, 8, 3.5, 3.5));
    Line(p, 5.5, 1.5, 5.5, 4.5, QColor(160, 160, 160), 1);
    Line(p, 8.5, 1.5, 8.5, 4.5, QColor(160, 160, 160), 1);
  };
  art[171] = [](QPainter& p) {  // COFFEECUP: cup and saucer
    p.setPen(QPen(QColor(60, 60, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 5.5, 8, 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(11, 7, 3, 3));
    p.setBrush(QColor(200, 200, 220));
    p.drawEllipse(QRectF(1.5, 11.5, 13, 3));
  };
  art[173] = [](QPainter& p) {  // COOL: sunglasses
    FaceWith(p, [](QPainter& q) {
      q.setPen(Qt::NoPen);
      q.setBrush(kDark);
      q.drawRoundedRect(QRectF(3.3, 4.8, 4.2, 2.8), 1, 1);
      q.drawRoundedRect(QRectF(8.5, 4.8, 4.2, 2.8), 1, 1);
      Line(q, 2.5, 5.5, 13.5, 5.5, kDark, 0.8);
      Smile(q);
    });
  };
  art[174] = [](QPainter& p) {  // DEAD
    FaceWith(
        p,
        [](QPainter& q) {
          Line(q, 4.5, 4.5, 7, 7, kDark, 1);
          Line(q, 7, 4.5, 4.5, 7, kDark, 1);
          Line(q, 9, 4.5, 11.5, 7, kDark, 1);
          Line(q, 11.5, 4.5, 9, 7, kDark, 1);
          Line(q, 5.5, 11, 10.5, 11);
        },
        QColor(200, 210, 160));
  };
  art[175] = [](QPainter& p) {  // DOG: standing
    p.setPen(QPen(QColor(80, 50, 20), 1));
    p.setBrush(QColor(170, 110, 60));
    p.drawRoundedRect(QRectF(3, 7, 9, 4.5), 2, 2);
    p.drawEllipse(QRectF(9.5, 3.5, 5.5, 5));
    p.drawRect(QRectF(4, 11, 1.6, 3.5));
    p.drawRect(QRectF(9.5, 11, 1.6, 3.5));
    Line(p, 3, 8, 1, 5, QColor(80, 50, 20), 1.2);
  };
  art[176] = [](QPainter& p) { Animal(p, QColor(190, 130, 70), false); };  // DOGFACE
  art[177] = [](QPainter& p) { Envelope(p); };                             // EMAIL
  art[178] = [](QPainter& p) {                                             // EMBARRASSED
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      q.setPen(Qt::NoPen);
      q.setBrush(QColor(250, 120, 120));
      q.drawEllipse(QPointF(4.2, 9), 1.6, 1);
      q.drawEllipse(QPointF(11.8, 9), 1.6, 1);
      Line(q, 6.5, 11, 9.5, 11);
    });
  };
  art[179] = [](QPainter& p) {  // YEL: yelling
    FaceWith(
        p,
        [](QPainter& q) {
          Line(q, 4.5, 5, 7, 6.5);
          Line(q, 11.5, 5, 9, 6.5);
          q.setPen(Qt::NoPen);
          q.setBrush(kDark);
          q.drawEllipse(QRectF(5.5, 8.5, 5, 4.5));
        },
        QColor(250, 150, 60));
  };
  art[180] = [](QPainter& p) { Film(p, 1); };  // FILM
  art[181] = [](QPainter& p) { Film(p, 3); };  // FILMS
  art[182] = [](QPainter& p) {                 // FIRE
    QPainterPath flame;
    flame.moveTo(8, 15);
    flame.cubicTo(1, 14, 3, 7, 6, 1);
    flame.cubicTo(7, 6, 9, 6, 10, 4);
    flame.cubicTo(14, 9, 14, 14, 8, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 90, 20));
    p.drawPath(flame);
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QRectF(6, 9, 4, 5));
  };
  art[183] = [](QPainter& p) {
    Stem(p, 8);
    Flower(p, QPointF(8, 6), QColor(240, 110, 200));
  };
  art[184] = [](QPainter& p) { Gift(p, false); };  // GIFT
  art[185] = [](QPainter& p) { Gift(p, true); };   // GIFTWITHBOW
  art[186] = [](QPainter& p) {                     // ICE: cube
    p.setPen(QPen(QColor(80, 140, 200), 1));
    p.setBrush(QColor(200, 235, 255));
    p.drawPolygon(QPolygonF({QPointF(2, 5), QPointF(8, 2), QPointF(14, 5), QPointF(14, 12),
                             QPointF(8, 15), QPointF(2, 12)}));
    p.drawPolyline(QPolygonF({QPointF(2, 5), QPointF(8, 8), QPointF(14, 5)}));
    p.drawLine(QPointF(8, 8), QPointF(8, 15));
  };
  art[187] = [](QPainter& p) { Bulb(p, QColor(255, 240, 120)); };  // IDEA
  art[188] = [](QPainter& p) {                                     // INLOVE: heart eyes
    FaceWith(p, [](QPainter& q) {
      Heart(q, QRectF(3.5, 4, 4, 3.6), kRed);
      Heart(q, QRectF(8.5, 4, 4, 3.6), kRed);
      Smile(q);
    });
  };
  art[189] = [](QPainter& p) {  // KISSY
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      q.setPen(Qt::NoPen);
      q.setBrush(QColor(220, 40, 90));
      q.drawEllipse(QPointF(8, 10.8), 1.8, 1.4);
    });
    Heart(p, QRectF(11, 9, 4.5, 4.5), kRed);
  };
  art[190] = [](QPainter& p) {  // LEFTHUG: a person opening arms
    p.setPen(QPen(QColor(40, 90, 160), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(250, 210, 160));
    p.drawEllipse(QPointF(10, 4), 2.5, 2.5);
    p.drawLine(QPointF(10, 7), QPointF(10, 12));
    p.drawLine(QPointF(10, 8.5), QPointF(3, 6));
    p.drawLine(QPointF(10, 12), QPointF(8, 15));
    p.drawLine(QPointF(10, 12), QPointF(12, 15));
  };
  art[191] = [](QPainter& p) { Bulb(p, QColor(255, 255, 200)); };  // LIGHTBULB
  art[8182] = [](QPainter& p) {                                    // MOON
    QPainterPath moon;
    moon.addEllipse(QRectF(2, 2, 12, 12));
    QPainterPath bite;
    bite.addEllipse(QRectF(6, 0.5, 11, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 40));
    p.drawPath(moon.subtracted(bite));
  };
  art[192] = [](QPainter& p) {  // LIPS
    QPainterPath lips;
    lips.moveTo(1.5, 8);
    lips.cubicTo(4, 3.5, 6.5, 5.5, 8, 6);
    lips.cubicTo(9.5, 5.5, 12, 3.5, 14.5, 8);
    lips.cubicTo(11, 13, 5, 13, 1.5, 8);
    p.setPen(QPen(QColor(140, 0, 30), 1));
    p.setBrush(QColor(220, 30, 70));
    p.drawPath(lips);
    Line(p, 2.5, 8, 13.5, 8, QColor(140, 0, 30), 0.8);
  };
  art[193] = [](QPainter& p) {  // MESSENGERICON: speech bubble
    p.setPen(QPen(QColor(20, 90, 40), 1));
    p.setBrush(QColor(60, 180, 90));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 9), 3, 3);
    p.drawPolygon(QPolygonF({QPointF(4, 10), QPointF(3.5, 14.5), QPointF(8, 10)}));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (qreal x : {5.0, 8.0, 11.0}) {
      p.drawEllipse(QPointF(x, 6), 1, 1);
    }
  };
  art[194] = [](QPainter& p) {  // MONEY: a coin
    p.setPen(QPen(QColor(150, 110, 0), 1));
    p.setBrush(QColor(250, 205, 40));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    Line(p, 8, 3.5, 8, 12.5, QColor(150, 110, 0), 1.2);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 4.5, 6, 3.5), 30 * 16, 240 * 16);
    p.drawArc(QRectF(5, 8, 6, 3.5), 210 * 16, 240 * 16);
  };
  art[195] = [](QPainter& p) {  // NOTE: music
    p.setPen(QPen(kDark, 1.3));
    p.drawLine(QPointF(6.5, 12), QPointF(6.5, 2.5));
    p.drawLine(QPointF(12.5, 10.5), QPointF(12.5, 1.5));
    p.setPen(QPen(kDark, 2.2));
    p.drawLine(QPointF(6.5, 2.5), QPointF(12.5, 1.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kDark);
    p.drawEllipse(QPointF(5, 12.5), 2, 1.6);
    p.drawEllipse(QPointF(11, 11), 2, 1.6);
  };
  art[196] = [](QPainter& p) {  // PEACE
    p.setPen(QPen(QColor(40, 120, 200), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2, 2, 12, 12));
    p.drawLine(QPointF(8, 2), QPointF(8, 14));
    p.drawLine(QPointF(8, 8), QPointF(3.8, 12.2));
    p.drawLine(QPointF(8, 8), QPointF(12.2, 12.2));
  };
  art[197] = [](QPainter& p) { Phone(p, true); };  // PHONE
  art[198] = [](QPainter& p) { Heart(p, QRectF(1.5, 2, 13, 12), QColor(240, 20, 20)); };
  art[199] = [](QPainter& p) { Rose(p, QColor(210, 20, 40)); };  // REDROSE
  art[200] = [](QPainter& p) {                                   // ROBO
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(QColor(170, 175, 185));
    p.drawRect(QRectF(2.5, 3.5, 11, 10));
    Line(p, 8, 3.5, 8, 1, QColor(60, 60, 70), 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 255));
    p.drawRect(QRectF(4.5, 6, 2.5, 2.5));
    p.drawRect(QRectF(9, 6, 2.5, 2.5));
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(5, 10.5, 6, 1.3));
  };
  art[201] = [](QPainter& p) { Rose(p, QColor(240, 100, 150)); };  // ROSE
  art[202] = [](QPainter& p) {                                     // SHOCKED
    FaceWith(p, [](QPainter& q) {
      q.setPen(QPen(kDark, 1));
      q.setBrush(Qt::white);
      q.drawEllipse(QPointF(5.8, 6), 1.6, 1.9);
      q.drawEllipse(QPointF(10.2, 6), 1.6, 1.9);
      q.setPen(Qt::NoPen);
      q.setBrush(kDark);
      q.drawEllipse(QPointF(8, 11), 1.7, 2);
    });
  };
  art[203] = [](QPainter& p) {  // SHOUT: big grin
    FaceWith(p, [](QPainter& q) {
      Eyes(q);
      QPainterPath grin;
      grin.moveTo(4.5, 9);
      grin.lineTo(11.5, 9);
      grin.quadTo(8, 15, 4.5, 9);
      q.setPen(QPen(kDark, 1));
      q.setBrush(Qt::white);
      q.drawPath(grin);
    });
  };
  art[204] = [](QPainter& p) {  // SLEEP
    FaceWith(p, [](QPainter& q) {
      Line(q, 4.5, 6.5, 7, 6.5);
      Line(q, 9, 6.5, 11.5, 6.5);
      q.setPen(Qt::NoPen);
      q.setBrush(kDark);
      q.drawEllipse(QPointF(8, 11), 1.2, 1);
    });
    p.setPen(QPen(QColor(40, 90, 200), 1));
    p.drawPolyline(
        QPolygonF({QPointF(11, 0.5), QPointF(14, 0.5), QPointF(11, 3.5), QPointF(14, 3.5)}));
  };
  art[205] = [](QPainter& p) { Star(p, QPointF(8, 8.5), 7, QColor(255, 200, 20)); };  // STAR
  art[206] = [](QPainter& p) { Phone(p, false); };                                    // TELEPHONE
  art[207] = [](QPainter& p) {                                                        // THUNDER
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(130, 140, 160));
    p.drawEllipse(QRectF(1, 1, 9, 6));
    p.drawEllipse(QRectF(6, 0, 9, 7));
    p.setBrush(QColor(255, 210, 0));
    p.drawPolygon(QPolygonF({QPointF(8, 6), QPointF(5, 11), QPointF(8, 11), QPointF(6, 15.5),
                             QPointF(11.5, 9), QPointF(8.5, 9), QPointF(10.5, 6)}));
  };
  art[8179] = [](QPainter& p) {  // TOOTH
    QPainterPath tooth;
    tooth.moveTo(3, 3);
    tooth.cubicTo(5, 0.5, 11, 0.5, 13, 3);
    tooth.cubicTo(14, 7, 12, 9, 11.5, 14.5);
    tooth.lineTo(9.5, 14.5);
    tooth.lineTo(8, 10);
    tooth.lineTo(6.5, 14.5);
    tooth.lineTo(4.5, 14.5);
    tooth.cubicTo(4, 9, 2, 7, 3, 3);
    p.setPen(QPen(QColor(120, 120, 130), 1));
    p.setBrush(Qt::white);
    p.drawPath(tooth);
  };
  art[8180] = [](QPainter& p) {  // WARNING
    p.setPen(QPen(QColor(120, 90, 0), 1));
    p.setBrush(QColor(255, 200, 0));
    p.drawPolygon(QPolygonF({QPointF(8, 1), QPointF(15, 14.5), QPointF(1, 14.5)}));
    Line(p, 8, 5.5, 8, 10, kDark, 1.6);
    p.setPen(Qt::NoPen);
    p.setBrush(kDark);
    p.drawEllipse(QPointF(8, 12.3), 0.9, 0.9);
  };
  art[8181] = [](QPainter& p) {  // MSN: a butterfly
    p.setPen(QPen(QColor(30, 60, 120), 1));
    p.setBrush(QColor(60, 130, 230));
    p.drawEllipse(QRectF(1, 2, 6.5, 6.5));
    p.drawEllipse(QRectF(8.5, 2, 6.5, 6.5));
    p.setBrush(QColor(250, 150, 40));
    p.drawEllipse(QRectF(2, 8, 5.5, 5.5));
    p.drawEllipse(QRectF(8.5, 8, 5.5, 5.5));
    Line(p, 8, 3, 8, 14, kDark, 1.4);
  };
  art[8185] = [](QPainter& p) {  // EYES
    p.setPen(QPen(kDark, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1, 3.5, 6.5, 9));
    p.drawEllipse(QRectF(8.5, 3.5, 6.5, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(kDark);
    p.drawEllipse(QPointF(5.3, 8.5), 1.6, 2);
    p.drawEllipse(QPointF(12.8, 8.5), 1.6, 2);
  };
  art[8183] = [](QPainter& p) {  // WINK
    FaceWith(p, [](QPainter& q) {
      q.setPen(Qt::NoPen);
      q.setBrush(kDark);
      q.drawEllipse(QPointF(5.8, 6), 1.1, 1.4);
      Line(q, 9, 6.3, 11.5, 6.3);
      Smile(q);
    });
  };
  art[8186] = [](QPainter& p) {  // ALIEN
    QPainterPath head;
    head.moveTo(8, 15);
    head.cubicTo(2, 11, 0.5, 2, 8, 1.5);
    head.cubicTo(15.5, 2, 14, 11, 8, 15);
    p.setPen(QPen(QColor(30, 110, 30), 1));
    p.setBrush(QColor(120, 220, 100));
    p.drawPath(head);
    p.setPen(Qt::NoPen);
    p.setBrush(kDark);
    p.save();
    p.translate(5.2, 7.5);
    p.rotate(30);
    p.drawEllipse(QPointF(0, 0), 2.4, 1.3);
    p.restore();
    p.save();
    p.translate(10.8, 7.5);
    p.rotate(-30);
    p.drawEllipse(QPointF(0, 0), 2.4, 1.3);
    p.restore();
  };
  art[8184] = [](QPainter& p) {  // WILTED
    p.setPen(QPen(QColor(110, 120, 40), 1.4));
    p.setBrush(Qt::NoBrush);
    QPainterPath stem;
    stem.moveTo(7, 15);
    stem.cubicTo(7, 8, 9, 5, 12, 7);
    p.drawPath(stem);
    p.setPen(QPen(QColor(110, 60, 50), 1));
    p.setBrush(QColor(150, 90, 80));
    p.drawEllipse(QRectF(10, 7, 4.5, 5));
  };
  return art;
}

// The application icon: a speech bubble with a small orbit, in the program's green.
void AppIcon(QPainter& p, int size) {
  qreal s = size / 16.0;
  p.scale(s, s);
  p.setPen(QPen(QColor(15, 80, 45), 1));
  p.setBrush(QColor(40, 170, 90));
  p.drawRoundedRect(QRectF(0.5, 1, 15, 10.5), 3.5, 3.5);
  p.drawPolygon(QPolygonF({QPointF(3.5, 11), QPointF(2.5, 15.5), QPointF(8, 11)}));
  p.setPen(QPen(Qt::white, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(4.5, 3, 7, 6.5));
}

// The five menu bar buttons: connection, encryption, roster, active chats, GPS.
void BarButtons(QPainter& p) {
  // 0: connection (two plugs meeting)
  p.setPen(QPen(QColor(30, 30, 30), 1));
  p.setBrush(QColor(60, 170, 70));
  p.drawRect(QRectF(1.5, 6.5, 5, 4));
  p.drawRect(QRectF(9.5, 6.5, 5, 4));
  Line(p, 6.5, 7.5, 9.5, 7.5, QColor(30, 30, 30), 1);
  Line(p, 6.5, 9.5, 9.5, 9.5, QColor(30, 30, 30), 1);
  // 1: encryption (a padlock)
  p.translate(16, 0);
  p.setPen(QPen(QColor(90, 70, 0), 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
  p.setPen(QPen(QColor(90, 70, 0), 1));
  p.setBrush(QColor(235, 185, 40));
  p.drawRect(QRectF(3, 6.5, 10, 8));
  // 2: roster (two people)
  p.translate(16, 0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(70, 110, 200));
  p.drawEllipse(QPointF(5.5, 5), 2.5, 2.5);
  p.drawRoundedRect(QRectF(1.5, 8.5, 8, 6), 2.5, 2.5);
  p.setBrush(QColor(40, 150, 90));
  p.drawEllipse(QPointF(11, 5.5), 2.3, 2.3);
  p.drawRoundedRect(QRectF(8, 9, 7, 5.5), 2.5, 2.5);
  // 3: active chats (two speech bubbles)
  p.translate(16, 0);
  p.setPen(QPen(QColor(40, 40, 80), 1));
  p.setBrush(QColor(250, 220, 90));
  p.drawRoundedRect(QRectF(0.5, 1.5, 10, 7), 2, 2);
  p.setBrush(QColor(150, 200, 250));
  p.drawRoundedRect(QRectF(5.5, 7.5, 10, 7), 2, 2);
  // 4: GPS (a target with a satellite fix)
  p.translate(16, 0);
  p.setPen(QPen(QColor(200, 40, 40), 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
  p.drawEllipse(QRectF(6, 6, 4, 4));
  Line(p, 8, 0.5, 8, 3.5, QColor(200, 40, 40), 1.3);
  Line(p, 8, 12.5, 8, 15.5, QColor(200, 40, 40), 1.3);
  Line(p, 0.5, 8, 3.5, 8, QColor(200, 40, 40), 1.3);
  Line(p, 12.5, 8, 15.5, 8, QColor(200, 40, 40), 1.3);
}


// The roster's presence images and group folders, on a 20 x 25 canvas (the small strip scales
// it). Order: online aim, icq, jabber, msn, yahoo (0-4), offline in the same order (5-9), group
// collapsed (10) and expanded (11), away (12-16). Each network has its letter and a ring of its
// own colour; the badge is green when online, amber with a clock when away, pale grey with a grey letter when offline.
enum class Presence { Online, Away, Offline };

void PresenceBadge(QPainter& p, QChar letter, QColor ring, Presence presence) {
  QColor fill = presence == Presence::Online  ? QColor(40, 170, 70)
                : presence == Presence::Away ? QColor(240, 160, 20)
                                              : QColor(222, 222, 222);
  p.setPen(QPen(presence == Presence::Offline ? QColor(120, 120, 120) : ring, 2));
  p.setBrush(fill);
  p.drawEllipse(QRectF(1.5, 4, 17, 17));
  QFont font("DejaVu Sans");
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.setPen(presence == Presence::Offline ? QColor(105, 105, 105) : Qt::white);
  p.drawText(QRectF(1.5, 4, 17, 17), Qt::AlignCenter, QString(letter));
  if (presence == Presence::Away) {
    // A small clock at the top right: the contact is away.
    p.setPen(QPen(QColor(90, 60, 0), 1));
    p.setBrush(QColor(255, 240, 190));
    p.drawEllipse(QRectF(12, 0.5, 7.5, 7.5));
    Line(p, 15.75, 4.25, 15.75, 2, QColor(90, 60, 0), 1);
    Line(p, 15.75, 4.25, 17.5, 4.25, QColor(90, 60, 0), 1);
  }
}

void Folder(QPainter& p, bool open) {
  p.setPen(QPen(QColor(150, 105, 20), 1));
  p.setBrush(QColor(240, 190, 70));
  p.drawRect(QRectF(1.5, 6.5, 7, 3));
  p.drawRect(QRectF(1.5, 8.5, 17, 11));
  if (open) {
    p.setBrush(QColor(255, 220, 120));
    p.drawPolygon(QPolygonF({QPointF(4.5, 12.5), QPointF(19.5, 12.5), QPointF(16.5, 19.5),
                             QPointF(1.5, 19.5)}));
  }
}

void RosterImages(QPainter& p) {
  struct Network {
    QChar letter;
    QColor ring;
  };
  const Network networks[] = {{'A', QColor(200, 150, 0)},
                              {'I', QColor(20, 100, 20)},
                              {'J', QColor(30, 90, 200)},
                              {'M', QColor(0, 160, 220)},
                              {'Y', QColor(120, 30, 160)}};
  auto at = [&](int index, const std::function<void()>& draw) {
    p.save();
    p.translate(index * 20, 0);
    draw();
    p.restore();
  };
  for (int i = 0; i < 5; ++i) {
    at(i, [&] { PresenceBadge(p, networks[i].letter, networks[i].ring, Presence::Online); });
    at(5 + i, [&] { PresenceBadge(p, networks[i].letter, networks[i].ring, Presence::Offline); });
    at(12 + i, [&] { PresenceBadge(p, networks[i].letter, networks[i].ring, Presence::Away); });
  }
  at(10, [&] { Folder(p, false); });
  at(11, [&] { Folder(p, true); });
}

// A strip on the mask colour RGB(0, 255, 0): drawn smooth on a transparent canvas, then every
// pixel the drawing covers is laid on white and every other one becomes the mask colour, so no
// half-green edge survives the mask.
bool SaveMasked(const QString& folder, int id, int width, int height, qreal scaleX, qreal scaleY,
                const Draw& draw) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scaleX, scaleY);
  draw(painter);
  painter.end();
  QImage out(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      QRgb pixel = image.pixel(x, y);
      int alpha = qAlpha(pixel);
      if (alpha < 64) {
        out.setPixel(x, y, qRgb(0, 255, 0));
        continue;
      }
      // Premultiplied colour over white.
      QColor c = QColor::fromRgba(pixel);
      auto over = [alpha](int v) { return (v * alpha + 255 * (255 - alpha)) / 255; };
      out.setPixel(x, y, qRgb(over(c.red()), over(c.green()), over(c.blue())));
    }
  }
  return out.save(QStringLiteral("%1/bitmaps/%2.png").arg(folder).arg(id), "PNG");
}

bool Save(const QString& folder, int id, int width, int height, const Draw& draw) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  painter.end();
  return image.save(QStringLiteral("%1/bitmaps/%2.png").arg(folder).arg(id), "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 2) {
    return 2;
  }
  QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder + "/bitmaps");
  std::map<int, Draw> art = Emoticons();
  art[101] = [](QPainter& p) { AppIcon(p, 32); };
  bool ok = true;
  for (const auto& [id, draw] : art) {
    int size = id == 101 ? 32 : kSize;
    ok = Save(folder, id, size, size, draw) && ok;
  }
  ok = Save(folder, 8216, 5 * kSize, kSize, BarButtons) && ok;
  ok = SaveMasked(folder, 265, 17 * 20, 25, 1.0, 1.0, RosterImages) && ok;
  ok = SaveMasked(folder, 266, 17 * 14, 17, 14.0 / 20.0, 17.0 / 25.0, RosterImages) && ok;
  QFile qrc(folder + "/orvik.qrc");
  if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    return 1;
  }
  QTextStream out(&qrc);
  out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
  QStringList files = QDir(folder + "/bitmaps").entryList({"*.png"}, QDir::Files, QDir::Name);
  for (const QString& file : files) {
    out << "  <file>bitmaps/" << file << "</file>\n";
  }
  out << "</qresource>\n</RCC>\n";
  return ok ? 0 : 1;
}
