// The "Directory to add" dialog on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/ui/DirForm.h"

namespace {

QStringList Items(const QComboBox* Box) {
  QStringList Out;
  for (int I = 0; I < Box->count(); ++I) Out << Box->itemText(I);
  return Out;
}

TEST(DirForm, ShowsTheFourTypesOfTheAddDialog) {
  TDirForm Form;
  EXPECT_EQ(Form.windowTitle(), "Directory to add");
  EXPECT_EQ(Form.size(), QSize(418, 53));
  EXPECT_EQ(Form.BOk->text(), "Ok");
  EXPECT_EQ(Form.BCancel->text(), "Cancel");
  EXPECT_FALSE(Form.Filter->isEditable());
  EXPECT_TRUE(Form.ScanDir->text().isEmpty());
  EXPECT_FALSE(Form.BOk->isEnabled());

  Form.show();
  EXPECT_EQ(Items(Form.Filter),
            QStringList({"Image Resource Lists (*.irl)", "Item Comparator (*.itm)",
                         "Project list files (*.lst)", "Log files (*.log)"}));
  EXPECT_EQ(Form.Filter->currentIndex(), 0);
  EXPECT_EQ(Form.TypeIndex(), 0);
  EXPECT_EQ(Form.FileMask(), "*.irl");
}

TEST(DirForm, ChoosingATypeTakesItsPattern) {
  TDirForm Form;
  Form.show();
  const char* Masks[] = {"*.irl", "*.itm", "*.lst", "*.log"};
  for (int Index : {3, 1, 2, 0}) {
    Form.Filter->setCurrentIndex(Index);
    EXPECT_EQ(Form.TypeIndex(), Index);
    EXPECT_EQ(Form.FileMask(), Masks[Index]) << "entry " << Index;
  }
}

TEST(DirForm, OkFollowsTheDirectoryText) {
  TDirForm Form;
  Form.ScanDir->setText("/games/menus");
  EXPECT_TRUE(Form.BOk->isEnabled());
  Form.ScanDir->clear();
  EXPECT_FALSE(Form.BOk->isEnabled());

  // The folder button puts the chosen directory in and so enables Ok; cancelling keeps all.
  QString StartedAt;
  Form.AskDirectory = [&](const QString& Start) -> std::optional<QString> {
    StartedAt = Start;
    return QString("/games/chosen");
  };
  Form.ScanDir->setText("x");
  Form.ScanDir->clear();
  Form.CallDialog->click();
  EXPECT_EQ(Form.ScanDir->text(), "/games/chosen");
  EXPECT_TRUE(Form.BOk->isEnabled());
  Form.AskDirectory = [&](const QString& Start) -> std::optional<QString> {
    StartedAt = Start;
    return std::nullopt;
  };
  Form.CallDialog->click();
  EXPECT_EQ(StartedAt, "/games/chosen");
  EXPECT_EQ(Form.ScanDir->text(), "/games/chosen");
}

TEST(DirForm, ShowingAgainStartsAtTheFirstTypeAndKeepsTheDirectory) {
  TDirForm Form;
  Form.show();
  Form.ScanDir->setText("/games");
  Form.Filter->setCurrentIndex(1);
  ASSERT_EQ(Form.FileMask(), "*.itm");
  Form.hide();

  Form.show();
  EXPECT_EQ(Form.Filter->currentIndex(), 0);
  EXPECT_EQ(Form.TypeIndex(), 0);
  EXPECT_EQ(Form.FileMask(), "*.irl");
  EXPECT_EQ(Form.Filter->count(), 4);
  EXPECT_EQ(Form.ScanDir->text(), "/games");
  EXPECT_TRUE(Form.BOk->isEnabled());
}

TEST(DirForm, TakesTheFilterTheMainWindowHandsIt) {
  TDirForm Form;
  Form.SetSourceFilter("Maps (*.map)|*.map|Everything|*");
  Form.show();
  EXPECT_EQ(Items(Form.Filter), QStringList({"Maps (*.map)", "Everything"}));
  EXPECT_EQ(Form.FileMask(), "*.map");
  Form.Filter->setCurrentIndex(1);
  EXPECT_EQ(Form.FileMask(), "*");
}

TEST(DirForm, OkAcceptsWhileCancelAndTheCloseBoxReject) {
  struct TCase {
    const char* Name;
    void (*Act)(TDirForm&);
    int Result;
  };
  const TCase Cases[] = {
      {"Ok", [](TDirForm& F) { F.BOk->click(); }, QDialog::Accepted},
      {"Cancel", [](TDirForm& F) { F.BCancel->click(); }, QDialog::Rejected},
      {"close box", [](TDirForm& F) { F.close(); }, QDialog::Rejected},
  };
  for (const TCase& Case : Cases) {
    TDirForm Form;
    Form.ScanDir->setText("/games");
    QTimer::singleShot(0, &Form, [&] { Case.Act(Form); });
    EXPECT_EQ(Form.exec(), Case.Result) << Case.Name;
    EXPECT_EQ(Form.ScanDirText(), "/games") << Case.Name;
  }
}

}  // namespace
