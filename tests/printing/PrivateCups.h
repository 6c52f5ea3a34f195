#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A CUPS scheduler of the test's own: its own configuration folder, a
// socket in a temporary folder, and this process (and the tools it runs)
// pointed at it. Stopped by its PID when the object goes.
class PrivateCups {
public:
    PrivateCups() = default;
    ~PrivateCups();
    PrivateCups(const PrivateCups &) = delete;
    PrivateCups &operator=(const PrivateCups &) = delete;

    // Starts the scheduler and waits, a few seconds at most, until it
    // answers. Returns what went wrong, or an empty text.
    QString start();

    // Runs a CUPS tool (lpadmin, lpstat) against this scheduler; the error
    // text when it fails, else empty. Output goes to output when given.
    QString run(const QString &tool, const QStringList &arguments, QString *output = nullptr) const;

    // Waits until the queue reports the job completed. False after timeoutMs.
    bool waitForCompletedJob(const QString &queue, int job, int timeoutMs) const;

    // Folder that a file: device may write into.
    QString outputFolder() const { return folder_.filePath(QStringLiteral("out")); }
    QString errorLog() const;

private:
    QString writeConfiguration();

    QTemporaryDir folder_;
    QProcess scheduler_;
};
