#include "DesktopFolderChooser.h"

#include <QFileDialog>

QString DesktopFolderChooser::chooseFolder(QWidget *owner, const QString &title)
{
    return QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
}
