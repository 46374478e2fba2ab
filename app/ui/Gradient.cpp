#include "app/ui/Gradient.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace {

// Opaque black in Format_RGB32: the image before its first build.
constexpr QRgb Black = 0xFF000000;

QImage MakeImage(QSize Size) {
  if (Size.isEmpty()) return QImage();
  QImage Image(Size, QImage::Format_RGB32);
  Image.fill(Black);
  return Image;
}

}  // namespace

TGradient::TGradient(QWidget* Owner) : QWidget(Owner) {
  // Painting copies the whole image: the background is never erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  setMouseTracking(true);  // MouseMove also without a pressed button
  QWidget::resize(100, 100);
  ImageSize = size();
  OffScreen = MakeImage(ImageSize);
}

TGradient::~TGradient() = default;

void TGradient::SetWidth(int Value) {
  QWidget::resize(std::max(Value, 0), height());
  Resize();
}

void TGradient::SetHeight(int Value) {
  QWidget::resize(width(), std::max(Value, 0));
  Resize();
}

void TGradient::SetLTColor(TColor Value) {
  Corners.LeftTop = Value;
  BuildGradient();
}

void TGradient::SetLBColor(TColor Value) {
  Corners.LeftBottom = Value;
  BuildGradient();
}

void TGradient::SetRTColor(TColor Value) {
  Corners.RightTop = Value;
  BuildGradient();
}

void TGradient::SetRBColor(TColor Value) {
  Corners.RightBottom = Value;
  BuildGradient();
}

void TGradient::SetAlignValue(int Value) {
  SetAlign(Value >= alNone && Value <= alClient ? TAlign(Value) : alNone);
}

void TGradient::SetAlign(TAlign Value) {
  Alignment = Value;
  if (QWidget* Parent = parentWidget()) {
    Parent->removeEventFilter(this);
    if (Alignment != alNone) Parent->installEventFilter(this);
  }
  ApplyAlign();
}

void TGradient::ApplyAlign() {
  QWidget* Parent = parentWidget();
  if (!Parent || Alignment == alNone) return;
  const int PW = Parent->width(), PH = Parent->height();
  QRect Place;
  switch (Alignment) {
    case alTop:
      Place = QRect(0, 0, PW, height());
      break;
    case alBottom:
      Place = QRect(0, PH - height(), PW, height());
      break;
    case alLeft:
      Place = QRect(0, 0, width(), PH);
      break;
    case alRight:
      Place = QRect(PW - width(), 0, width(), PH);
      break;
    default:
      Place = QRect(0, 0, PW, PH);
      break;
  }
  setGeometry(Place);
  Resize();
}

bool TGradient::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == parentWidget() && Event->type() == QEvent::Resize) ApplyAlign();
  return QWidget::eventFilter(Watched, Event);
}

bool TGradient::FitImage() {
  if (ImageSize == size()) return false;
  ImageSize = size();
  OffScreen = MakeImage(ImageSize);
  return true;
}

void TGradient::Resize() {
  if (FitImage()) BuildGradient();
}

void TGradient::BuildGradient() {
  // A size changed while the control was hidden reaches resizeEvent only when it is shown;
  // the image takes the control's size here so the pixels always match it.
  FitImage();
  ++Builds;
  if (!OffScreen.isNull())
    FillGradient(OffScreen.bits(), OffScreen.bytesPerLine(), OffScreen.width(), OffScreen.height(),
                 Corners, 0xFF000000);
  update();
}

void TGradient::paintEvent(QPaintEvent* Event) {
  QPainter Painter(this);
  if (!OffScreen.isNull()) Painter.drawImage(Event->rect().topLeft(), OffScreen, Event->rect());
}

void TGradient::resizeEvent(QResizeEvent* Event) {
  // The inherited step is left out on purpose: the control handles its size itself.
  (void)Event;
  Resize();
}

void TGradient::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint At = Event->position().toPoint();
  emit MouseMove(Event->modifiers(), At.x(), At.y());
}

void TGradient::mousePressEvent(QMouseEvent* Event) {
  const QPoint At = Event->position().toPoint();
  emit MouseDown(Event->button(), Event->modifiers(), At.x(), At.y());
}

void TGradient::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint At = Event->position().toPoint();
  emit MouseUp(Event->button(), Event->modifiers(), At.x(), At.y());
}

void TGradient::ReadFrom(const TGradientComponent& Description) {
  if (!Description.Name().empty()) setObjectName(QString::fromStdString(Description.Name()));
  if (Description.Width != 0) SetWidth(Description.Width);
  if (Description.Height != 0) SetHeight(Description.Height);
  const TGradientCorners& C = Description.Corners;
  if (C.LeftTop != 0) SetLTColor(C.LeftTop);
  if (C.LeftBottom != 0) SetLBColor(C.LeftBottom);
  if (C.RightTop != 0) SetRTColor(C.RightTop);
  if (C.RightBottom != 0) SetRBColor(C.RightBottom);
  if (Description.Align != alNone) SetAlign(Description.Align);
}

void TGradient::WriteTo(TGradientComponent& Description) const {
  Description.SetName(objectName().toStdString());
  Description.Width = width();
  Description.Height = height();
  Description.Corners = Corners;
  Description.Align = Alignment;
}

TGradient* CreateGradient(const TGradientComponent& Description, QWidget* Owner) {
  auto* Control = new TGradient(Owner);
  Control->ReadFrom(Description);
  return Control;
}
