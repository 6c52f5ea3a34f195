#pragma once

// brelko-tag run as a user runs it: the real executable on files in a test
// folder, with its journal in a state folder of its own.
#include "TableRows.h"
#include "TestFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

struct Result {
    int status = -1;
    QString out, err;
};

// The base of every brelko-tag test: fresh folders per test function.
class TagToolTest : public QObject {
protected:
    std::unique_ptr<TestFolders> dirs_;

    void fresh() { dirs_ = std::make_unique<TestFolders>(); }
    QString path(const QString &name) const { return dirs_->file(name); }
    QString make(const QString &name, const QByteArray &trailer = {}, int frames = 4) const
    {
        return dirs_->mp3(name, frames, trailer);
    }
    QByteArray trailerOf(const QString &name) const { return ReadFile(path(name)).right(128); }
    // 0.mp3, 1.mp3, ...: tagged files for a batch.
    QStringList makeTagged(int count) const
    {
        QStringList names;
        for (int i = 0; i < count; ++i)
            make(names.emplace_back(QString("%1.mp3").arg(i)), Trailer("Morning", "Quartet"));
        return names;
    }

    void start(QProcess &process, const QStringList &args,
               const QString &program = BRELKO_TAG_PATH) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_STATE_HOME", dirs_->state.path());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dirs_->files.path());
        process.start(program, args);
    }
    // A hang ends as status -1 after the timeout, never blocks the run.
    static Result finish(QProcess &process, int timeout = 60000)
    {
        if (!process.waitForFinished(timeout)) // a kill: status -1
            process.kill(), process.waitForFinished();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    // asOther: as an ordinary user, since root reads any file.
    Result run(QStringList args, bool asOther = false, const QByteArray &input = {}) const
    {
        QProcess process;
        QString program = BRELKO_TAG_PATH;
        if (asOther && ::geteuid() == 0) {
            args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args;
            program = "setpriv";
        }
        start(process, args, program);
        process.write(input);
        process.closeWriteChannel();
        return finish(process);
    }
    // A bash script with brelko-tag as $0: byte names ($'\xff'), pipes, FIFOs.
    Result script(const QString &text, int timeout = 30000) const
    {
        QProcess process;
        start(process, {"-c", text, BRELKO_TAG_PATH}, "/bin/bash");
        return finish(process, timeout);
    }
};
