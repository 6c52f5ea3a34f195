#pragma once

#include "Clock.h"
#include "MessageService.h"
#include "ShellLauncher.h"

// The desktop's own services, which the program hands to its windows.

// Modal QMessageBox with the request's text, caption, buttons and icon.
class QtMessageService : public MessageService {
public:
    MessageAnswer show(QWidget *owner, const MessageRequest &request) override;
};

// The system's local time.
class SystemClock : public Clock {
public:
    QDateTime now() const override;
};

// QDesktopServices::openUrl: a web address as it is, anything else as a local
// file. The target never passes through a shell command line.
class DesktopShellLauncher : public ShellLauncher {
public:
    void open(const QString &target) override;
};

// The URL a target stands for: a web address or a local path.
class QUrl;
QUrl ShellTargetUrl(const QString &target);
