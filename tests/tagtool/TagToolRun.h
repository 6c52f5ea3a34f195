#pragma once

// brelko-tag run as a user runs it: the real executable, in the music
// folder, with its journal in a state folder of its own.
#include "Mp3Fixture.h"

#include <QProcess>

#include <unistd.h>

struct Result {
    int status = -1; // -1: it crashed or hung
    QString out, err;
};

// asOther: as an ordinary user, since root reads any file. input: its
// standard input.
inline Result RunTagTool(const TestFolders &dirs, QStringList args, bool asOther = false,
                         const QByteArray &input = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", dirs.state.path());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dirs.files.path());
    QString program = BRELKO_TAG_PATH;
    if (asOther && ::geteuid() == 0) {
        args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args;
        program = "setpriv";
    }
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    Result r;
    if (!process.waitForFinished(30000))
        return r;
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// Debian's python3, which has python3-mutagen: a tag writer and reader we
// did not write. The script's standard output, or a failed test.
inline QByteArray RunPython(const char *script, const QStringList &args)
{
    QProcess python;
    python.start("/usr/bin/python3", QStringList{"-c", script} + args);
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        qWarning("python3: %s", python.readAllStandardError().constData());
    return python.readAllStandardOutput();
}
