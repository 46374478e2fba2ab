// The gradient control on Qt's offscreen platform: its image, its rebuilds, its painting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>

#include "app/ui/Gradient.h"
#include "components/FormDescription.h"

namespace {

QRgb Grey(int V) { return qRgb(V, V, V); }

TEST(GradientWidget, StartsAt100By100WithABlackImageAndNoBuild) {
  TGradient G;
  EXPECT_EQ(G.Width(), 100);
  EXPECT_EQ(G.Height(), 100);
  EXPECT_EQ(G.Image().size(), QSize(100, 100));
  EXPECT_EQ(G.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(G.Image().pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(G.Image().pixel(99, 99), qRgb(0, 0, 0));
  EXPECT_EQ(G.BuildCount(), 0);
  EXPECT_TRUE(G.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(GradientWidget, OwnerBecomesTheParent) {
  QWidget Form;
  auto* G = new TGradient(&Form);
  EXPECT_EQ(G->parentWidget(), &Form);
}

TEST(GradientWidget, ColourSettersRebuildEvenWithTheSameValue) {
  TGradient G;
  G.SetLTColor(0);
  EXPECT_EQ(G.BuildCount(), 1);
  G.SetLTColor(0);
  G.SetLBColor(0);
  G.SetRTColor(0);
  G.SetRBColor(0);
  EXPECT_EQ(G.BuildCount(), 5);
  G.SetRTColor(0xFFFFFF);
  G.SetRTColor(0xFFFFFF);
  EXPECT_EQ(G.BuildCount(), 7);
  EXPECT_EQ(G.RightTop(), 0xFFFFFFu);
}

TEST(GradientWidget, ResizesRebuildOnlyWhenTheSizeChanges) {
  TGradient G;
  G.SetWidth(100);
  G.SetHeight(100);
  G.resize(100, 100);
  EXPECT_EQ(G.BuildCount(), 0);

  G.SetWidth(2);
  EXPECT_EQ(G.BuildCount(), 1);
  EXPECT_EQ(G.Image().size(), QSize(2, 100));
  G.SetWidth(2);
  G.resize(2, 100);
  EXPECT_EQ(G.BuildCount(), 1);

  G.show();  // a shown control gets Qt's resize events
  G.resize(2, 30);
  EXPECT_EQ(G.Image().size(), QSize(2, 30));
  const int AfterShow = G.BuildCount();
  EXPECT_GE(AfterShow, 2);
  G.resize(2, 30);
  EXPECT_EQ(G.BuildCount(), AfterShow);
}

TEST(GradientWidget, ImageHoldsTheCornerGradient) {
  TGradient G;
  G.SetWidth(2);
  G.SetHeight(2);
  G.SetRTColor(0xFFFFFF);
  G.SetRBColor(0xFFFFFF);
  // Two columns: black, then 127 (255 / 2 truncated) in every row.
  for (int Y = 0; Y < 2; ++Y) {
    EXPECT_EQ(G.Image().pixel(0, Y), Grey(0)) << "row " << Y;
    EXPECT_EQ(G.Image().pixel(1, Y), Grey(127)) << "row " << Y;
  }

  // Red is the low byte of a colour; the top byte of a system colour is ignored.
  TGradient One;
  One.SetWidth(1);
  One.SetHeight(1);
  One.SetLTColor(0x800000FF);
  EXPECT_EQ(One.Image().pixel(0, 0), qRgb(255, 0, 0));
}

TEST(GradientWidget, PaintCopiesTheImage) {
  TGradient G;
  G.SetWidth(4);
  G.SetHeight(3);
  G.SetLTColor(0x00FF0000);  // blue
  G.SetRBColor(0x0000FF00);  // green
  const QImage Shown = G.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(Shown.size(), QSize(4, 3));
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X)
      EXPECT_EQ(Shown.pixel(X, Y), G.Image().pixel(X, Y)) << "pixel (" << X << ", " << Y << ")";
}

TEST(GradientWidget, ZeroSizeBuildsNothingAndDoesNotFail) {
  TGradient G;
  G.SetWidth(0);
  EXPECT_EQ(G.Width(), 0);
  EXPECT_TRUE(G.Image().isNull());
  G.SetLTColor(0xFFFFFF);
  G.SetHeight(0);
  G.SetRBColor(0x123456);
  (void)G.grab();
  G.SetWidth(3);
  G.SetHeight(2);
  EXPECT_EQ(G.Image().size(), QSize(3, 2));
  EXPECT_EQ(G.Image().pixel(0, 0), Grey(255));
}

TEST(GradientWidget, MouseEventsReachTheSignals) {
  TGradient G;
  QList<QString> Seen;
  QObject::connect(&G, &TGradient::MouseDown,
                   [&](Qt::MouseButton B, Qt::KeyboardModifiers S, int X, int Y) {
                     Seen << QString("down %1 %2 %3 %4").arg(int(B)).arg(int(S)).arg(X).arg(Y);
                   });
  QObject::connect(&G, &TGradient::MouseUp,
                   [&](Qt::MouseButton B, Qt::KeyboardModifiers, int X, int Y) {
                     Seen << QString("up %1 %2 %3").arg(int(B)).arg(X).arg(Y);
                   });
  QObject::connect(&G, &TGradient::MouseMove, [&](Qt::KeyboardModifiers, int X, int Y) {
    Seen << QString("move %1 %2").arg(X).arg(Y);
  });
  const QPointF At(5, 7);
  QMouseEvent Down(QEvent::MouseButtonPress, At, G.mapToGlobal(At), Qt::LeftButton, Qt::LeftButton,
                   Qt::ShiftModifier);
  QMouseEvent Move(QEvent::MouseMove, QPointF(6, 8), G.mapToGlobal(QPointF(6, 8)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QMouseEvent Up(QEvent::MouseButtonRelease, At, G.mapToGlobal(At), Qt::RightButton, Qt::NoButton,
                 Qt::NoModifier);
  QApplication::sendEvent(&G, &Down);
  QApplication::sendEvent(&G, &Move);
  QApplication::sendEvent(&G, &Up);
  EXPECT_EQ(Seen, (QList<QString>{QString("down 1 %1 5 7").arg(int(Qt::ShiftModifier)), "move 6 8",
                                  "up 2 5 7"}));
}

TEST(GradientWidget, AlignFollowsTheParent) {
  QWidget Form;
  Form.resize(300, 200);
  auto* Top = new TGradient(&Form);
  Top->SetHeight(20);
  Top->SetAlign(alTop);
  EXPECT_EQ(Top->geometry(), QRect(0, 0, 300, 20));
  auto* Client = new TGradient(&Form);
  Client->SetAlign(alClient);
  EXPECT_EQ(Client->size(), QSize(300, 200));
  EXPECT_EQ(Client->Image().size(), QSize(300, 200));

  Form.show();
  Form.resize(120, 90);
  EXPECT_EQ(Top->geometry(), QRect(0, 0, 120, 20));
  EXPECT_EQ(Client->size(), QSize(120, 90));
  EXPECT_EQ(Client->Image().size(), QSize(120, 90));
}

TEST(GradientWidget, FormDescriptionRoundTrip) {
  TGradientComponent Stored;
  Stored.SetName("Gradient1");
  Stored.Width = 0;  // not stored: the control keeps 100
  Stored.Height = 40;
  Stored.Corners = {0x000000FF, 0, 0, 0x00FF0000};
  Stored.Align = alNone;
  const std::string Text = WriteComponent(Stored);
  TComponentRegistry Registry;
  RegisterComponentClass<TGradientComponent>(PalettePage, "TGradient", Registry);
  auto Read = ReadFormDescription(Text, nullptr, Registry);
  ASSERT_EQ(Read.size(), 1u);

  QWidget Form;
  TGradient* G = CreateGradient(static_cast<TGradientComponent&>(*Read[0]), &Form);
  EXPECT_EQ(G->objectName(), "Gradient1");
  EXPECT_EQ(G->Width(), 100);
  EXPECT_EQ(G->Height(), 40);
  EXPECT_EQ(G->LeftTop(), 0x000000FFu);
  EXPECT_EQ(G->RightBottom(), 0x00FF0000u);
  EXPECT_EQ(G->Image().pixel(0, 0), qRgb(255, 0, 0));

  TGradientComponent Again;
  G->WriteTo(Again);
  EXPECT_EQ(WriteComponent(Again),
            "object Gradient1: TGradient\n"
            "  Width = 100\n"
            "  Height = 40\n"
            "  LeftTop = 0x000000FF\n"
            "  RightBottom = 0x00FF0000\n"
            "end\n");
}

}  // namespace
