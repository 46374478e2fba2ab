#include "app/ui/DirForm.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include "app/core/FilterText.h"
#include "app/ui/DirectoryChooser.h"
#include "include/SharedConstants.h"

TDirForm::TDirForm(QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      SourceFilterText(SourceFilter) {
  setWindowTitle(QStringLiteral("Directory to add"));
  setFixedSize(418, 53);
  move(298, 293);

  Bevel1 = new QFrame(this);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(0, 0, 418, 53);

  Label2 = new QLabel(QStringLiteral("Directory:"), this);
  Label2->setGeometry(8, 6, 56, 20);
  ScanDir = new QLineEdit(this);
  ScanDir->setGeometry(64, 5, 240, 21);
  CallDialog = new QToolButton(this);
  CallDialog->setGeometry(306, 4, 23, 23);
  CallDialog->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
  CallDialog->setIconSize(QSize(16, 16));
  CallDialog->setAutoRaise(true);
  BOk = new QPushButton(QStringLiteral("Ok"), this);
  BOk->setGeometry(336, 4, 75, 23);
  BOk->setEnabled(false);
  BOk->setDefault(true);

  Label1 = new QLabel(QStringLiteral("File Type:"), this);
  Label1->setGeometry(8, 29, 56, 20);
  Filter = new QComboBox(this);
  Filter->setEditable(false);
  Filter->setGeometry(64, 28, 265, 21);
  BCancel = new QPushButton(QStringLiteral("Cancel"), this);
  BCancel->setGeometry(336, 28, 75, 23);

  AskDirectory = [this](const QString& Start) -> std::optional<QString> {
    QString Dir = Start;
    if (!ChooseDirectory(this, tr("Select directory"), Dir)) return std::nullopt;
    return Dir;
  };

  connect(ScanDir, &QLineEdit::textChanged, this, &TDirForm::ScanDirChange);
  connect(CallDialog, &QToolButton::clicked, this, &TDirForm::CallDialogClick);
  connect(Filter, &QComboBox::currentIndexChanged, this, &TDirForm::FilterChange);
  connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
  // The title bar's close box and Escape reject as well, so they count as Cancel.
  connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TDirForm::ScanDirText() const {
  return QFile::encodeName(ScanDir->text()).toStdString();
}

void TDirForm::showEvent(QShowEvent* Event) {
  // A window restored from being minimised is shown again by the system: not a new showing.
  if (!Event->spontaneous()) FormShow();
  QDialog::showEvent(Event);
}

void TDirForm::FormShow() {
  FFilterText = SourceFilterText;
  const QSignalBlocker Blocker(Filter);
  Filter->clear();
  const std::vector<TFilterPair> Pairs = SplitFilterPairs(FFilterText);
  for (const TFilterPair& Pair : Pairs) Filter->addItem(QString::fromStdString(Pair.Description));
  if (Pairs.empty()) {
    // Nothing to choose: no type and nothing to look for.
    FTypeIndex = -1;
    FFileMask.clear();
    return;
  }
  FFileMask = Pairs.front().Pattern;
  Filter->setCurrentIndex(0);
  FTypeIndex = 0;
}

void TDirForm::ScanDirChange() { BOk->setEnabled(!ScanDir->text().isEmpty()); }

void TDirForm::CallDialogClick() {
  if (!AskDirectory) return;
  if (std::optional<QString> Chosen = AskDirectory(ScanDir->text())) ScanDir->setText(*Chosen);
}

void TDirForm::FilterChange(int Index) {
  FTypeIndex = Index;
  FFileMask = FilterPattern(FFilterText, Index);
}
