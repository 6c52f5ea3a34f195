#pragma once

// brelko-tag run as a user runs it: the real executable on files in a test
// folder, with its journal in a state folder of its own.
#include "TestFiles.h"

#include <QProcess>
#include <QStringList>

#include <unistd.h>

struct Result {
    int status = -1;
    QString out, err;
};

inline void PrepareTagTool(QProcess &process, const TestFolders &dirs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", dirs.state.path());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dirs.files.path());
}

// A hang ends as status -1 after the timeout, never blocks the run.
inline Result FinishTagTool(QProcess &process, int timeout = 60000)
{
    Result r;
    if (!process.waitForFinished(timeout)) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// asOther: as an ordinary user, since root reads any file.
inline Result RunTagTool(const TestFolders &dirs, QStringList args, bool asOther = false,
                         const QByteArray &input = QByteArray())
{
    QProcess process;
    PrepareTagTool(process, dirs);
    QString program = BRELKO_TAG_PATH;
    if (asOther && ::geteuid() == 0) {
        args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args;
        program = "setpriv";
    }
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    return FinishTagTool(process);
}
