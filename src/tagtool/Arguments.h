#pragma once

#include "SafeFile.h"

#include <QByteArrayList>
#include <QMap>
#include <QString>
#include <QStringList>

// The options and files of one command. Options may stand before or between
// the files; "--" ends them, so a file may begin with "-". Files stay the
// bytes they were given as, and so are option values, which may name a
// file too; value() gives them as text.
struct Arguments {
    QMap<QString, QByteArray> values; // "--title" -> "Morning"
    QStringList flags;                // "--json"
    QList<FilePath> files;
    QString error; // empty when the arguments were understood

    bool has(const QString &option) const { return values.contains(option); }
    QString value(const QString &option) const { return QString::fromUtf8(values.value(option)); }
    bool flag(const QString &option) const { return flags.contains(option); }
};

// Options in valueOptions take a value ("--title T" or "--title=T"); those in
// flagOptions take none. Anything else that begins with "-" is an error.
// Without allowNoFiles, a command line without files is an error too.
Arguments ParseArguments(const QByteArrayList &args, const QStringList &valueOptions,
                         const QStringList &flagOptions, bool allowNoFiles = false);

// "--jobs N": how many files a command works on at once. jobs stays 0 when
// the option is not given; an error message when N is not from 1 to 1024.
extern const QString JobsOption;
QString ParseJobs(const Arguments &parsed, int &jobs);
