#pragma once

#include "SafeFile.h"

#include <QByteArrayList>
#include <QMap>
#include <QString>
#include <QStringList>

// The options and files of one command. Options may stand before or between
// the files; "--" ends them, so a file may begin with "-". Files stay the
// bytes they were given as; option names and values become text.
struct Arguments {
    QMap<QString, QString> values; // "--title" -> "Morning"
    QStringList flags;             // "--json"
    QList<FilePath> files;
    QString error; // empty when the arguments were understood

    bool has(const QString &option) const { return values.contains(option); }
    bool flag(const QString &option) const { return flags.contains(option); }
};

// Options in valueOptions take a value ("--title T" or "--title=T"); those in
// flagOptions take none. Anything else that begins with "-" is an error.
Arguments ParseArguments(const QByteArrayList &args, const QStringList &valueOptions,
                         const QStringList &flagOptions);
