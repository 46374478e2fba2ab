// The window program: one main window; closing it ends the program.
#include <QApplication>
#include <QMessageBox>

#include "app/ui/MainForm.h"

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  try {
    TMainForm MainForm;
    MainForm.show();
    App.exec();
  } catch (const std::exception& Error) {
    QMessageBox::critical(nullptr, "Brindlecast", QString::fromLocal8Bit(Error.what()));
  }
  return 0;
}
