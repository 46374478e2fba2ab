#pragma once
// The main window: the toolbar, the source list, the results pane and the process box.
// It shows the state of the core's source list and batch run and forwards clicks to them;
// the dialogs it opens are reachable through replaceable hooks so tests drive it headless.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/core/BatchRun.h"
#include "app/core/SourceList.h"
#include "components/Component.h"
#include "formats/RunContext.h"
#include "formats/RunView.h"

class TDirForm;
class TTarga;
class TTextObject;

class TMainForm : public QWidget, public TRunView {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* Parent = nullptr);
  ~TMainForm() override;

  // Toolbar buttons, left to right.
  QAction* BAddLog;
  QAction* ProcessDir;
  QAction* BSaveList;
  QAction* BRemLog;
  QAction* BClearAll;
  QAction* BProcess;
  QAction* BExit;
  QToolBar* ToolBar1;
  QListWidget* LogList;
  QPlainTextEdit* Results;
  QGroupBox* GroupBox1;
  QLabel* CurrentMessage;
  QLabel* Extracted;
  QToolButton* SaveLog;
  QToolButton* Stop;
  QProgressBar* Progress;
  QProgressBar* Total;
  // The window's components from its form description; no operation of the window uses them.
  TTextObject* TextObject = nullptr;
  TTarga* Targa = nullptr;
  // The "Directory to add" dialog, made once and reused for every gathering.
  TDirForm* DirForm;

  // Dialog hooks. Each defaults to the real dialog; tests replace them.
  // Add: the chosen filter index (1..4) and files, or nothing when cancelled.
  std::function<std::optional<TAddChoice>(int FilterIndex)> AskSources;
  // Save list / Save results: the chosen file, or nothing when cancelled.
  std::function<std::optional<std::string>()> AskListFile;
  std::function<std::optional<std::string>()> AskResultsFile;
  // Process Directory's dialog: true when the user confirmed it.
  std::function<bool()> AskGathering;
  // The batch run's directory chooser.
  std::function<bool(std::string& Dir)> AskOutputDir;
  // Information and error boxes.
  std::function<void(const QString& Text, const QString& Caption)> ShowInfo;
  std::function<void(const QString& Text)> ShowError;

  TSourceList& List() { return Sources; }
  // The directory the last confirmed gathering scanned, as typed.
  const std::string& ScanRoot() const { return LastScanRoot; }
  TRunContext& Context() { return Run; }
  TBatchRun& Batch() { return BatchRun; }
  // The Add dialog's filter index, kept from one use to the next (starts at 1).
  int SelectLogFilterIndex = 1;

  // TRunView: what the batch run and the replay drive.
  void SetCurrentMessage(const std::string& Text) override;
  void SetExtracted(const std::string& Text) override;
  void SetProgress(int Position) override;
  void SetTotal(int Position, int Maximum) override;
  void ClearResults() override;
  void AddResult(const std::string& Line) override;
  void ProcessMessages() override;
  void SetStopEnabled(bool Enabled) override;
  void SetSaveResultsEnabled(bool Enabled) override;
  void FocusResults() override;
  bool ChooseOutputDir(std::string& Dir) override;
  void ShowMessage(const std::string& Text, const std::string& Caption) override;

 public slots:
  void BAddLogClick();
  void ProcessDirClick();
  void BSaveListClick();
  void BRemLogClick();
  void BClearAllClick();
  void BProcessClick();
  void BExitClick();
  void StopClick();
  void SaveLogClick();

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  // Runs Action and shows any error it raises; no exception reaches the event loop.
  void Guarded(const std::function<void()>& Action);
  // Shows the core list and the list buttons' state.
  void ShowList();
  void ShowButtons();

  TSourceList Sources;
  TRunContext Run;
  TBatchRun BatchRun;
  std::vector<std::unique_ptr<TComponent>> FormComponents;
  bool CloseAfterRun = false;
  std::string LastScanRoot;
};

// Fills the seven glyphs of the toolbar, 16 x 16 each.
QIcon ToolbarGlyph(int Index);
