#include "app/ui/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>

#include "app/core/DirScan.h"
#include "app/ui/DirForm.h"
#include "app/ui/DirectoryChooser.h"
#include "components/FormDescription.h"
#include "components/Palette.h"
#include "components/Targa.h"
#include "components/TextObject.h"
#include "include/SharedConstants.h"
#include "platform/Errors.h"
#include "platform/Files.h"

// The window's resources live in a static library: they must be pulled in by name.
static void InitResources() { Q_INIT_RESOURCE(resources); }

namespace {
QString FromLocal(const std::string& Text) {
  return QString::fromLocal8Bit(Text.data(), static_cast<qsizetype>(Text.size()));
}
std::string ToLocal(const QString& Text) { return Text.toLocal8Bit().toStdString(); }

// The Add dialog's filter in Qt's form: the descriptions already carry their patterns.
QStringList SelectLogFilters() {
  QStringList Filters;
  QStringList Parts =
      QString::fromLatin1(SourceFilter.data(), static_cast<qsizetype>(SourceFilter.size()))
          .split('|');
  for (int I = 0; I + 1 < Parts.size(); I += 2) Filters << Parts[I];
  return Filters;
}
}  // namespace

TMainForm::TMainForm(QWidget* Parent) : QWidget(Parent), Run(*this), BatchRun(Run) {
  setWindowTitle("Brindlecast");
  setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint);
  setWindowFlag(Qt::Window);
  // Qt does not quit when a tool window closes; this one is the program's main window.
  setAttribute(Qt::WA_QuitOnClose, true);
  setFixedSize(688, 464);

  ToolBar1 = new QToolBar(this);
  ToolBar1->setGeometry(0, 0, 688, 26);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  auto AddButton = [this](int Glyph, const QString& Name, const QString& Hint) {
    QAction* Action = ToolBar1->addAction(ToolbarGlyph(Glyph), Hint);
    Action->setObjectName(Name);
    Action->setToolTip(Hint);
    return Action;
  };
  BAddLog = AddButton(0, "BAddLog", "Add");
  ProcessDir = AddButton(5, "ProcessDir", "Process Directory");
  BSaveList = AddButton(1, "BSaveList", "Save list");
  BRemLog = AddButton(2, "BRemLog", "Remove");
  BClearAll = AddButton(3, "BClearAll", "Clear all");
  BProcess = AddButton(4, "BProcess", "Process");
  BExit = AddButton(6, "BExit", "Exit");

  LogList = new QListWidget(this);
  LogList->setObjectName("LogList");
  LogList->setGeometry(0, 26, 688, 189);
  LogList->setSelectionMode(QAbstractItemView::ExtendedSelection);

  GroupBox1 = new QGroupBox(" Process ", this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(0, 464 - 66, 688, 66);

  Results = new QPlainTextEdit(this);
  Results->setObjectName("Results");
  Results->setGeometry(0, 26 + 189, 688, 464 - 66 - 26 - 189);
  Results->setReadOnly(true);
  Results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Results->setLineWrapMode(QPlainTextEdit::NoWrap);

  CurrentMessage = new QLabel(GroupBox1);
  CurrentMessage->setObjectName("CurrentMessage");
  CurrentMessage->setGeometry(8, 16, 300, 16);
  Extracted = new QLabel("Extracted: 0", GroupBox1);
  Extracted->setObjectName("Extracted");
  Extracted->setGeometry(316, 16, 180, 16);
  SaveLog = new QToolButton(GroupBox1);
  SaveLog->setObjectName("SaveLog");
  SaveLog->setText("Save results");
  SaveLog->setAutoRaise(true);
  SaveLog->setGeometry(688 - 8 - 64 - 90, 13, 90, 20);
  Stop = new QToolButton(GroupBox1);
  Stop->setObjectName("Stop");
  Stop->setText("Stop");
  Stop->setAutoRaise(true);
  Stop->setGeometry(688 - 8 - 64, 13, 64, 20);
  Progress = new QProgressBar(GroupBox1);
  Progress->setObjectName("Progress");
  Progress->setRange(0, 100);
  Progress->setValue(0);
  Progress->setTextVisible(false);
  Progress->setGeometry(8, 35, 672, 12);
  Total = new QProgressBar(GroupBox1);
  Total->setObjectName("Total");
  Total->setRange(0, 100);
  Total->setValue(0);
  Total->setTextVisible(false);
  Total->setGeometry(8, 49, 672, 12);

  SaveLog->setEnabled(false);
  Stop->setEnabled(false);
  // The components and their settings come from the window's form description.
  RegisterComponents();
  InitResources();
  QFile Form(":/MainForm.form");
  if (!Form.open(QIODevice::ReadOnly))
    throw EFormatError("The window's form description is missing");
  QByteArray Description = Form.readAll();
  FormComponents = ReadFormDescription(
      std::string_view(Description.constData(), static_cast<std::size_t>(Description.size())),
      nullptr);
  for (const auto& Component : FormComponents) {
    if (auto* Text = dynamic_cast<TTextObject*>(Component.get())) TextObject = Text;
    if (auto* Picture = dynamic_cast<TTarga*>(Component.get())) Targa = Picture;
  }

  DirForm = new TDirForm(this);
  AskGathering = [this] { return DirForm->exec() == QDialog::Accepted; };

  connect(BAddLog, &QAction::triggered, this, &TMainForm::BAddLogClick);
  connect(ProcessDir, &QAction::triggered, this, &TMainForm::ProcessDirClick);
  connect(BSaveList, &QAction::triggered, this, &TMainForm::BSaveListClick);
  connect(BRemLog, &QAction::triggered, this, &TMainForm::BRemLogClick);
  connect(BClearAll, &QAction::triggered, this, &TMainForm::BClearAllClick);
  connect(BProcess, &QAction::triggered, this, &TMainForm::BProcessClick);
  connect(BExit, &QAction::triggered, this, &TMainForm::BExitClick);
  connect(Stop, &QToolButton::clicked, this, &TMainForm::StopClick);
  connect(SaveLog, &QToolButton::clicked, this, &TMainForm::SaveLogClick);

  AskSources = [this](int FilterIndex) -> std::optional<TAddChoice> {
    QFileDialog Dialog(this, "Select file...");
    Dialog.setFileMode(QFileDialog::ExistingFiles);
    Dialog.setNameFilters(SelectLogFilters());
    Dialog.setOption(QFileDialog::ReadOnly, false);
    Dialog.selectNameFilter(SelectLogFilters().value(FilterIndex - 1));
    if (Dialog.exec() != QDialog::Accepted) return std::nullopt;
    TAddChoice Choice;
    Choice.FilterIndex =
        static_cast<int>(SelectLogFilters().indexOf(Dialog.selectedNameFilter())) + 1;
    if (Choice.FilterIndex < 1) Choice.FilterIndex = 1;
    for (const QString& File : Dialog.selectedFiles()) Choice.Files.push_back(ToLocal(File));
    return Choice;
  };
  auto AskSaveFile = [this](const QString& Filter,
                            const QString& Suffix) -> std::optional<std::string> {
    QFileDialog Dialog(this, "Select file...");
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    Dialog.setNameFilter(Filter);
    Dialog.setDefaultSuffix(Suffix);
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ToLocal(Dialog.selectedFiles().first());
  };
  AskListFile = [AskSaveFile] { return AskSaveFile("Project list files (*.lst)", "lst"); };
  AskResultsFile = [this]() -> std::optional<std::string> {
    QFileDialog Dialog(this, "Select target...");
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    Dialog.setNameFilter("Text files (*.txt)");
    Dialog.setDefaultSuffix("txt");
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ToLocal(Dialog.selectedFiles().first());
  };
  AskOutputDir = [this](std::string& Dir) {
    QString Chosen = FromLocal(Dir);
    if (!ChooseDirectory(this, "Select output directory", Chosen)) return false;
    Dir = ToLocal(Chosen);
    return true;
  };
  ShowInfo = [this](const QString& Text, const QString& Caption) {
    QMessageBox::information(this, Caption, Text);
  };
  ShowError = [this](const QString& Text) { QMessageBox::critical(this, "Brindlecast", Text); };

  ShowButtons();
  if (QScreen* Screen = QGuiApplication::primaryScreen())
    move(Screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() = default;

void TMainForm::Guarded(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const std::exception& Error) {
    ShowError(QString::fromLocal8Bit(Error.what()));
  }
}

void TMainForm::ShowList() {
  LogList->clear();
  QStringList Items;
  Items.reserve(static_cast<qsizetype>(Sources.Entries.size()));
  for (const std::string& Entry : Sources.Entries) Items << FromLocal(Entry);
  LogList->addItems(Items);
  if (Sources.Current >= 0) LogList->setCurrentRow(Sources.Current, QItemSelectionModel::NoUpdate);
}

void TMainForm::ShowButtons() {
  bool Idle = !BatchRun.Running();
  BAddLog->setEnabled(Idle);
  ProcessDir->setEnabled(Idle);
  BClearAll->setEnabled(Idle && Sources.Buttons.ClearAll);
  BRemLog->setEnabled(Idle && Sources.Buttons.Remove);
  BProcess->setEnabled(Idle && Sources.Buttons.Process);
  BSaveList->setEnabled(Idle && Sources.Buttons.SaveList);
  BExit->setEnabled(true);
}

void TMainForm::BAddLogClick() {
  Sources.BeginAdd();
  ShowList();
  ShowButtons();
  std::optional<TAddChoice> Choice = AskSources(SelectLogFilterIndex);
  if (Choice) SelectLogFilterIndex = Choice->FilterIndex;
  Guarded([&] { Sources.FinishAdd(Choice ? &*Choice : nullptr); });
  ShowList();
  ShowButtons();
}

void TMainForm::ProcessDirClick() {
  Sources.BeginGather();
  ShowButtons();
  if (!AskGathering()) {
    Sources.FinishGather(nullptr, Sources.SourceFormat);
    ShowButtons();
    return;
  }
  Sources.Entries.clear();
  Sources.ListGathered = false;
  ShowList();
  LastScanRoot = DirForm->ScanDirText();
  // A large tree takes a moment: keep the window painted and show the count, but take no
  // clicks until the list is complete.
  ToolBar1->setEnabled(false);
  TGatherResult Found;
  Guarded([&] {
    Found =
        GatherDirectory(LastScanRoot, DirForm->FileMask(), DirForm->TypeIndex(), [this](int Count) {
          CurrentMessage->setText(QString("Found %1 files...").arg(Count));
          QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
  });
  ToolBar1->setEnabled(true);
  CurrentMessage->clear();
  Sources.FinishGather(&Found.Paths, Found.Format);
  ShowList();
  ShowButtons();
}

void TMainForm::BSaveListClick() {
  std::optional<std::string> Path = AskListFile();
  if (Path) Guarded([&] { Sources.SaveList(*Path); });
}

void TMainForm::BRemLogClick() {
  std::vector<int> Selected;
  for (QListWidgetItem* Item : LogList->selectedItems()) Selected.push_back(LogList->row(Item));
  Sources.Remove(Selected);
  ShowList();
  ShowButtons();
}

void TMainForm::BClearAllClick() {
  Sources.ClearAll();
  ShowList();
  ShowButtons();
}

void TMainForm::BProcessClick() {
  if (BatchRun.Running()) return;
  struct TRestore {
    TMainForm* Form;
    ~TRestore() { Form->ShowButtons(); }
  } Restore{this};
  // No list edits and no nested run while the run walks the list.
  BAddLog->setEnabled(false);
  ProcessDir->setEnabled(false);
  BClearAll->setEnabled(false);
  BRemLog->setEnabled(false);
  BProcess->setEnabled(false);
  BSaveList->setEnabled(false);
  Guarded([&] { BatchRun.Execute(Sources); });
  if (CloseAfterRun) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMainForm::BExitClick() { close(); }

void TMainForm::StopClick() { BatchRun.Stop(); }

void TMainForm::SaveLogClick() {
  std::optional<std::string> Path = AskResultsFile();
  if (!Path) return;
  Guarded([&] {
    BatchRun.SaveResults(*Path);
    ShowInfo(FromLocal(ExtractFileName(*Path)), "Operation status");
  });
}

void TMainForm::closeEvent(QCloseEvent* Event) {
  if (BatchRun.Running()) {
    // Stop the run first; the window closes when the run has returned.
    CloseAfterRun = true;
    BatchRun.Stop();
    Event->ignore();
    return;
  }
  Event->accept();
}

// ------------------------------------------------------------------------------------------
// What the batch run and the replay drive.

void TMainForm::SetCurrentMessage(const std::string& Text) {
  CurrentMessage->setText(FromLocal(Text));
}
void TMainForm::SetExtracted(const std::string& Text) { Extracted->setText(FromLocal(Text)); }
void TMainForm::SetProgress(int Position) { Progress->setValue(Position); }
void TMainForm::SetTotal(int Position, int Maximum) {
  Total->setMaximum(Maximum);
  Total->setValue(Position);
}
void TMainForm::ClearResults() { Results->clear(); }
void TMainForm::AddResult(const std::string& Line) { Results->appendPlainText(FromLocal(Line)); }
void TMainForm::ProcessMessages() { QApplication::processEvents(); }
void TMainForm::SetStopEnabled(bool Enabled) { Stop->setEnabled(Enabled); }
void TMainForm::SetSaveResultsEnabled(bool Enabled) { SaveLog->setEnabled(Enabled); }
void TMainForm::FocusResults() { Results->setFocus(); }
bool TMainForm::ChooseOutputDir(std::string& Dir) { return AskOutputDir(Dir); }
void TMainForm::ShowMessage(const std::string& Text, const std::string& Caption) {
  ShowInfo(FromLocal(Text), FromLocal(Caption));
}
