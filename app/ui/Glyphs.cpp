// The toolbar's 16 x 16 glyphs, drawn here so they look the same on every desktop theme.
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
void DrawFolder(QPainter& P, bool Open) {
  P.setPen(QColor(120, 90, 20));
  P.setBrush(QColor(240, 200, 80));
  P.drawRect(1, 4, 13, 10);
  P.drawRect(1, 2, 5, 2);
  if (Open) {
    P.setBrush(QColor(255, 225, 120));
    QPolygon Flap({QPoint(3, 8), QPoint(15, 8), QPoint(13, 14), QPoint(1, 14)});
    P.drawPolygon(Flap);
  }
}

void DrawBin(QPainter& P, bool Full) {
  P.setPen(QColor(40, 70, 40));
  P.setBrush(QColor(120, 190, 120));
  P.drawRect(3, 4, 10, 11);
  P.drawRect(2, 2, 12, 2);
  P.drawLine(6, 6, 6, 13);
  P.drawLine(10, 6, 10, 13);
  if (Full) {
    P.setPen(QPen(QColor(200, 30, 30), 2));
    P.drawLine(4, 6, 12, 13);
    P.drawLine(12, 6, 4, 13);
  }
}

void DrawDrive(QPainter& P) {
  P.setPen(QColor(50, 50, 50));
  P.setBrush(QColor(180, 180, 190));
  P.drawRect(1, 5, 14, 7);
  P.setBrush(QColor(40, 200, 40));
  P.drawRect(11, 9, 2, 1);
}

void DrawWindow(QPainter& P) {
  P.setPen(QColor(30, 30, 90));
  P.setBrush(Qt::white);
  P.drawRect(1, 2, 14, 12);
  P.setBrush(QColor(40, 60, 180));
  P.drawRect(1, 2, 14, 3);
}

void DrawPencilOnSheet(QPainter& P) {
  P.setPen(QColor(80, 80, 80));
  P.setBrush(Qt::white);
  P.drawRect(2, 1, 10, 14);
  P.drawLine(4, 4, 10, 4);
  P.drawLine(4, 7, 10, 7);
  P.setPen(QPen(QColor(200, 120, 20), 3));
  P.drawLine(7, 13, 14, 6);
  P.setPen(QPen(QColor(60, 60, 60), 1));
  P.drawPoint(6, 14);
}
}  // namespace

QIcon ToolbarGlyph(int Index) {
  QPixmap Pixmap(16, 16);
  Pixmap.fill(Qt::transparent);
  QPainter P(&Pixmap);
  switch (Index) {
    case 0:
      DrawFolder(P, true);
      break;
    case 1:
      DrawDrive(P);
      break;
    case 2:
      DrawBin(P, false);
      break;
    case 3:
      DrawBin(P, true);
      break;
    case 4:
      DrawWindow(P);
      break;
    case 5:
      DrawFolder(P, false);
      break;
    default:
      DrawPencilOnSheet(P);
      break;
  }
  P.end();
  return QIcon(Pixmap);
}
