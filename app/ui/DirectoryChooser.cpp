#include "app/ui/DirectoryChooser.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/Files.h"

bool ChooseDirectory(QWidget* Parent, const QString& Title, QString& Dir) {
  QDialog Dialog(Parent);
  Dialog.setWindowTitle(Title);
  Dialog.resize(420, 380);
  auto* Layout = new QVBoxLayout(&Dialog);
  auto* Path = new QLineEdit(Dir, &Dialog);
  auto* Model = new QFileSystemModel(&Dialog);
  Model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  Model->setRootPath("/");
  auto* Tree = new QTreeView(&Dialog);
  Tree->setModel(Model);
  for (int Column = 1; Column < Model->columnCount(); ++Column) Tree->hideColumn(Column);
  Tree->header()->hide();
  if (!Dir.isEmpty()) {
    QModelIndex Start = Model->index(Dir);
    if (Start.isValid()) {
      Tree->setCurrentIndex(Start);
      Tree->scrollTo(Start);
    }
  }
  QObject::connect(Tree, &QTreeView::clicked, &Dialog, [Path, Model](const QModelIndex& Index) {
    Path->setText(Model->filePath(Index));
  });
  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &Dialog);
  QObject::connect(Buttons, &QDialogButtonBox::rejected, &Dialog, &QDialog::reject);
  QObject::connect(Buttons, &QDialogButtonBox::accepted, &Dialog, [&Dialog, Path] {
    std::string Chosen = Path->text().toLocal8Bit().toStdString();
    if (Chosen.empty()) return;
    if (!DirectoryExists(Chosen)) {
      if (QMessageBox::question(
              &Dialog, Dialog.windowTitle(),
              QString("The directory %1 does not exist. Create it?").arg(Path->text())) !=
          QMessageBox::Yes)
        return;
      if (!ForceDirectories(Chosen)) {
        QMessageBox::warning(&Dialog, Dialog.windowTitle(),
                             QString("Cannot create directory %1").arg(Path->text()));
        return;
      }
    }
    Dialog.accept();
  });
  Layout->addWidget(Path);
  Layout->addWidget(Tree);
  Layout->addWidget(Buttons);
  if (Dialog.exec() != QDialog::Accepted) return false;
  Dir = Path->text();
  return true;
}
