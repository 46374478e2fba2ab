#pragma once
// TGradient: a control that fills its whole area with a four-corner colour gradient.
//
// The gradient is kept in an off-screen 32-bit image, one pixel per pixel of the control, and
// painting only copies that image; the background is never erased. The image is rebuilt by a
// corner colour setter (always, also when the value did not change) and by a size change (only
// when the control's size differs from the image's). The pixels come from FillGradient
// (components/GradientCore.h). Before its first build the image is black.
//
// In the component layer the control is known as "TGradient" through TGradientComponent, which
// holds the published values a form description stores; ReadFrom and WriteTo copy them.

#include <QImage>
#include <QWidget>

#include "components/GradientCore.h"

class TGradient : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(uint LeftTop READ LeftTop WRITE SetLTColor)
  Q_PROPERTY(uint LeftBottom READ LeftBottom WRITE SetLBColor)
  Q_PROPERTY(uint RightTop READ RightTop WRITE SetRTColor)
  Q_PROPERTY(uint RightBottom READ RightBottom WRITE SetRBColor)
  Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue)

 public:
  // Makes Owner the parent; the control is 100 x 100 and its image black; nothing is built.
  explicit TGradient(QWidget* Owner = nullptr);
  ~TGradient() override;

  int Width() const { return width(); }
  int Height() const { return height(); }
  // Change the size (negative counts as 0); a size that differs from the image's rebuilds.
  void SetWidth(int Value);
  void SetHeight(int Value);

  TColor LeftTop() const { return Corners.LeftTop; }
  TColor LeftBottom() const { return Corners.LeftBottom; }
  TColor RightTop() const { return Corners.RightTop; }
  TColor RightBottom() const { return Corners.RightBottom; }
  // Store a corner colour (red in the low byte, the top byte ignored) and rebuild.
  void SetLTColor(TColor Value);
  void SetLBColor(TColor Value);
  void SetRTColor(TColor Value);
  void SetRBColor(TColor Value);

  // With an alignment other than alNone the control follows its parent's size: along one
  // side keeping its other dimension, or filling it for alClient.
  TAlign Align() const { return Alignment; }
  void SetAlign(TAlign Value);

  // Recomputes every pixel of the off-screen image and asks for a repaint. A size of 0
  // builds nothing.
  void BuildGradient();

  // The off-screen image (Format_RGB32) and how often BuildGradient has run.
  const QImage& Image() const { return OffScreen; }
  int BuildCount() const { return Builds; }

  // Applies the values a form description stores: every size, colour and alignment that is
  // not 0, as reading a form does; zero values keep the control's own.
  void ReadFrom(const TGradientComponent& Description);
  // Copies every published value into Description, with the control's name.
  void WriteTo(TGradientComponent& Description) const;

 signals:
  // The mouse events, with the keyboard modifiers and the position in the control.
  void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
  void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  int AlignValue() const { return Alignment; }
  void SetAlignValue(int Value);
  // Gives the image the control's size when it differs; returns whether it did.
  bool FitImage();
  // The platform's resize step: rebuilds only when the image had to change size.
  void Resize();
  void ApplyAlign();

  QImage OffScreen;
  QSize ImageSize;  // kept apart: an image of a zero size is a null QImage
  TGradientCorners Corners;
  TAlign Alignment = alNone;
  int Builds = 0;
};

// A new control on Owner with the values of a form description's block (see ReadFrom), named
// after it.
TGradient* CreateGradient(const TGradientComponent& Description, QWidget* Owner);
