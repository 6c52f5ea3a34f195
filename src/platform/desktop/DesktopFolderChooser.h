#pragma once

#include "FolderChooser.h"

// The desktop's folder dialog, folders only.
class DesktopFolderChooser : public FolderChooser {
public:
    QString chooseFolder(QWidget *owner, const QString &title) override;
};
