#pragma once
// The "Directory to add" dialog behind Process Directory: the directory to scan and the type
// of source to look for. One instance lives for the whole program and keeps its directory
// text between showings; every showing starts again at the first type.
//
// The main window drives it in one call and reads three values:
//   if (DirForm->exec() == QDialog::Accepted)
//     GatherDirectory(DirForm->ScanDirText(), DirForm->FileMask(), DirForm->TypeIndex(), ...);

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TDirForm : public QDialog {
  Q_OBJECT

 public:
  explicit TDirForm(QWidget* Parent = nullptr);

  // The Add dialog's filter text ("description|pattern|..."), copied into FilterText at every
  // showing. The Add dialog's own filter until the main window says otherwise.
  void SetSourceFilter(std::string_view Text) { SourceFilterText = Text; }

  // The outcome of a showing, valid after exec().
  std::string ScanDirText() const;
  int TypeIndex() const { return FTypeIndex; }
  const std::string& FileMask() const { return FFileMask; }
  const std::string& FilterText() const { return FFilterText; }

  // The directory chooser that CallDialog opens (the shared one of DirectoryChooser.h, which
  // may create the directory the user names); tests replace it.
  std::function<std::optional<QString>(const QString& Start)> AskDirectory;

  // The controls, for the main window's tests and ours.
  QLineEdit* ScanDir = nullptr;
  QToolButton* CallDialog = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BCancel = nullptr;
  QComboBox* Filter = nullptr;

 public slots:
  // The events; public so that tests can drive the dialog without a user.
  void FormShow();
  void ScanDirChange();
  void CallDialogClick();
  void FilterChange(int Index);

 protected:
  void showEvent(QShowEvent* Event) override;

 private:
  QFrame* Bevel1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label1 = nullptr;

  std::string SourceFilterText;
  std::string FFilterText;
  int FTypeIndex = 0;
  std::string FFileMask;
};
