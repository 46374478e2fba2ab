#pragma once
// The directory chooser of the batch run and the directory dialog: the user may pick a
// directory or type one that does not exist yet; such a directory is created, with its
// missing parents, once the user agrees.

#include <QString>

class QWidget;

// Shows the chooser starting at Dir. True when the user confirmed; Dir then holds the chosen
// directory, which exists.
bool ChooseDirectory(QWidget* Parent, const QString& Title, QString& Dir);
