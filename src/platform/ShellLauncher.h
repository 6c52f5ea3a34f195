#pragma once

#include <QString>

// Opens a file or a web address with the program the desktop associates
// with it. Reports nothing: the desktop shows its own errors.
class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    virtual void open(const QString &target) = 0;
};
