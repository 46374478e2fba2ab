#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "app/ui/DirForm.h"
#include "app/ui/MainForm.h"
#include "components/Targa.h"
#include "components/TextObject.h"
#include "platform/Files.h"

namespace {
// A main window whose dialogs answer from the test instead of a person.
struct TWindow {
  TMainForm Form;
  std::optional<TAddChoice> NextAdd;
  std::string OutputDir;
  QStringList Infos, Errors;

  TWindow() {
    Form.AskSources = [this](int) { return NextAdd; };
    Form.AskOutputDir = [this](std::string& Dir) {
      if (OutputDir.empty()) return false;
      Dir = OutputDir;
      return true;
    };
    Form.ShowInfo = [this](const QString& Text, const QString& Caption) {
      Infos << Caption + "|" + Text;
    };
    Form.ShowError = [this](const QString& Text) { Errors << Text; };
  }
  void Add(int Filter, std::vector<std::string> Files) {
    NextAdd = TAddChoice{Filter, std::move(Files)};
    Form.BAddLog->trigger();
  }
  QString Buttons() const {
    QString Out;
    for (QAction* A : {Form.BAddLog, Form.ProcessDir, Form.BSaveList, Form.BRemLog, Form.BClearAll,
                       Form.BProcess, Form.BExit})
      Out += A->isEnabled() ? '1' : '0';
    return Out;
  }
};

TEST(MainForm, StartsWithTheSpecifiedWindow) {
  TWindow W;
  W.Form.show();
  QApplication::processEvents();
  EXPECT_EQ(W.Form.windowTitle(), "Brindlecast");
  EXPECT_EQ(W.Form.size(), QSize(688, 464));
  QImage Shot = W.Form.grab().toImage();
  EXPECT_EQ(Shot.size() / Shot.devicePixelRatio(), QSize(688, 464));
  EXPECT_EQ(W.Buttons(), "1100001");  // Add, Process Directory, Exit
  const auto Actions = W.Form.ToolBar1->actions();
  QStringList Order;
  for (QAction* A : Actions) Order << A->objectName();
  EXPECT_EQ(Order.join(","), "BAddLog,ProcessDir,BSaveList,BRemLog,BClearAll,BProcess,BExit");
  for (QAction* A : Actions) EXPECT_EQ(A->icon().actualSize(QSize(16, 16)), QSize(16, 16));
  EXPECT_EQ(W.Form.ProcessDir->toolTip(), "Process Directory");
  EXPECT_EQ(W.Form.GroupBox1->title(), " Process ");
  EXPECT_EQ(W.Form.Extracted->text(), "Extracted: 0");
  EXPECT_EQ(W.Form.CurrentMessage->text(), "");
  EXPECT_EQ(W.Form.SaveLog->text(), "Save results");
  EXPECT_EQ(W.Form.Stop->text(), "Stop");
  EXPECT_FALSE(W.Form.SaveLog->isEnabled());
  EXPECT_FALSE(W.Form.Stop->isEnabled());
  EXPECT_EQ(W.Form.LogList->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(W.Form.LogList->height(), 189);
  EXPECT_EQ(W.Form.GroupBox1->height(), 66);
  for (QWidget* Control : std::initializer_list<QWidget*>{
           W.Form.LogList, W.Form.Results, W.Form.GroupBox1, W.Form.CurrentMessage,
           W.Form.Extracted, W.Form.SaveLog, W.Form.Stop, W.Form.Progress, W.Form.Total})
    EXPECT_TRUE(Control->isVisible()) << Control->objectName().toStdString();
  EXPECT_LT(W.Form.SaveLog->x(), W.Form.Stop->x());
  EXPECT_LT(W.Form.Progress->y(), W.Form.Total->y());
}

TEST(MainForm, EnablingFollowsTheList) {
  TWindow W;
  W.Add(1, {"/g/a.irl", "/g/b.irl", "/g/c.irl"});
  EXPECT_EQ(W.Form.LogList->count(), 3);
  EXPECT_EQ(W.Buttons(), "1111111");
  W.Form.LogList->item(0)->setSelected(true);
  W.Form.LogList->item(2)->setSelected(true);
  W.Form.BRemLog->trigger();
  ASSERT_EQ(W.Form.LogList->count(), 1);
  EXPECT_EQ(W.Form.LogList->item(0)->text(), "/g/b.irl");
  EXPECT_EQ(W.Form.LogList->currentRow(), 0);
  W.Form.BClearAll->trigger();
  EXPECT_EQ(W.Buttons(), "1100001");
  // A cancelled Add leaves the buttons as they are.
  W.NextAdd.reset();
  W.Form.BAddLog->trigger();
  EXPECT_EQ(W.Buttons(), "1100001");
}

TEST(MainForm, ProcessRunsEverySourceAndGivesTheToolbarBack) {
  TWindow W;
  QTemporaryDir Out;
  W.OutputDir = Out.path().toStdString();
  W.Add(1, {"/g/a.irl", "/g/b.irl"});
  QStringList SeenDuringRun;
  W.Form.Batch().ProcessSource = [&](TSourceFormat, const std::string& Path) {
    SeenDuringRun << W.Buttons();
    W.Form.Context().ResultList.Add(Path + ".bmp");
  };
  W.Form.BProcess->trigger();
  EXPECT_EQ(SeenDuringRun, QStringList({"0000001", "0000001"}));
  EXPECT_EQ(W.Buttons(), "1111111");
  EXPECT_EQ(W.Infos, QStringList{"Process status:|Operation complete!"});
  EXPECT_TRUE(FileExists(W.OutputDir + "/result.log"));
  EXPECT_EQ(W.Form.Extracted->text(), "");
  EXPECT_EQ(W.Form.Total->value(), 0);
}

TEST(MainForm, HandlerErrorsAreShownAndTheWindowStaysUsable) {
  TWindow W;
  QTemporaryDir Out;
  W.OutputDir = Out.path().toStdString();
  W.Add(1, {"/nonexistent/a.irl"});
  W.Form.BProcess->trigger();
  ASSERT_EQ(W.Errors.size(), 1);
  EXPECT_TRUE(W.Errors[0].contains("a.irl")) << W.Errors[0].toStdString();
  EXPECT_TRUE(W.Form.Stop->isEnabled());
  EXPECT_EQ(W.Buttons(), "1111111");
  EXPECT_TRUE(W.Infos.isEmpty());
}

TEST(MainForm, StopDuringARunAndExitDuringARunClose) {
  TWindow W;
  QTemporaryDir Out;
  W.OutputDir = Out.path().toStdString();
  W.Add(4, {"/l/1.log", "/l/2.log", "/l/3.log"});
  int Calls = 0;
  W.Form.show();
  W.Form.Batch().ProcessSource = [&](TSourceFormat, const std::string&) {
    if (++Calls == 1) W.Form.BExit->trigger();  // Exit while the run goes on
  };
  W.Form.BProcess->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Calls, 1);
  EXPECT_FALSE(W.Form.isVisible());
}

TEST(MainForm, ProjectListsAreSavedAndReadBack) {
  TWindow W;
  QTemporaryDir Dir;
  std::string List = Dir.path().toStdString() + "/p.lst";
  W.Add(4, {"/l/1.log", "/l/2.log"});
  W.Form.AskListFile = [&] { return std::optional<std::string>(List); };
  W.Form.BSaveList->trigger();
  W.Add(3, {List});
  EXPECT_EQ(W.Form.List().SourceFormat, sfProjectList);
  EXPECT_EQ(W.Form.LogList->count(), 2);
  EXPECT_EQ(W.Form.SelectLogFilterIndex, 3);
}
}  // namespace

namespace {
TEST(MainForm, ProcessDirectoryGathersAndTheNextAddStartsEmpty) {
  TWindow W;
  QTemporaryDir Root;
  std::string Dir = Root.path().toStdString();
  ForceDirectories(Dir + "/sub");
  WriteWholeFile(Dir + "/a.itm", "");
  WriteWholeFile(Dir + "/sub/b.ITM", "");
  W.Add(1, {"/g/x.irl"});
  W.Form.DirForm->ScanDir->setText(Root.path());
  W.Form.DirForm->FormShow();
  W.Form.DirForm->FilterChange(1);  // "Item Comparator (*.itm)"
  bool Confirm = true;
  QString ButtonsWhileAsked;
  W.Form.AskGathering = [&] {
    ButtonsWhileAsked = W.Buttons();
    return Confirm;
  };
  W.Form.ProcessDir->trigger();
  EXPECT_EQ(ButtonsWhileAsked, "1100101");  // Remove, Process and Save list off; Clear all kept
  ASSERT_EQ(W.Form.LogList->count(), 2);
  EXPECT_EQ(W.Form.LogList->item(0)->text().toStdString(), Dir + "/sub/b.ITM");
  EXPECT_EQ(W.Form.LogList->item(1)->text().toStdString(), Dir + "/a.itm");
  EXPECT_EQ(W.Form.List().SourceFormat, sfItemComparator);
  EXPECT_EQ(W.Form.ScanRoot(), Dir);
  EXPECT_EQ(W.Buttons(), "1111111");
  // Cancel gives the buttons back and changes nothing.
  Confirm = false;
  W.Form.ProcessDir->trigger();
  EXPECT_EQ(W.Form.LogList->count(), 2);
  EXPECT_EQ(W.Buttons(), "1111111");
  // The next Add empties the gathered list before its dialog, even when cancelled.
  W.NextAdd.reset();
  W.Form.BAddLog->trigger();
  EXPECT_EQ(W.Form.LogList->count(), 0);
}
}  // namespace

namespace {
TEST(MainForm, CarriesItsComponentsFromTheFormDescription) {
  TWindow W;
  ASSERT_NE(W.Form.TextObject, nullptr);
  EXPECT_EQ(W.Form.TextObject->Name(), "TextObject");
  EXPECT_EQ(W.Form.TextObject->TextStyle, IniStyle);
  EXPECT_TRUE(W.Form.TextObject->AsciiZ);
  EXPECT_TRUE(W.Form.TextObject->ClearBounds);
  EXPECT_TRUE(W.Form.TextObject->LinuxFormat);
  EXPECT_EQ(W.Form.TextObject->TextAlign, 1);
  ASSERT_NE(W.Form.Targa, nullptr);
  EXPECT_EQ(W.Form.Targa->Width(), 256);
  EXPECT_EQ(W.Form.Targa->Height(), 256);
  EXPECT_EQ(W.Form.Targa->GetDepth(), 32);
  EXPECT_NE(W.Form.Targa->GetScanLine(0), nullptr);
}
}  // namespace

namespace {
TEST(MainForm, ExitEndsTheProgram) {
  TWindow W;
  W.Form.show();
  QTimer::singleShot(0, W.Form.BExit, &QAction::trigger);
  bool TimedOut = false;
  QTimer Watchdog;
  Watchdog.setSingleShot(true);
  QObject::connect(&Watchdog, &QTimer::timeout, [&] {
    TimedOut = true;
    QApplication::quit();
  });
  Watchdog.start(5000);
  QApplication::exec();
  EXPECT_FALSE(TimedOut) << "closing the main window did not end the event loop";
}
}  // namespace
