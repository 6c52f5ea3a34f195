#pragma once

#include <QString>

class QWidget;

// Lets the user pick a folder. Returns its path, "/" for the root, or an
// empty string when the user cancelled.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    virtual QString chooseFolder(QWidget *owner, const QString &title) = 0;
};
