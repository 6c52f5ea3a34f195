#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The options and files of one command. Options may stand before or between
// the files; "--" ends them, so a file may begin with "-".
struct Arguments {
    QMap<QString, QString> values; // "--title" -> "Morning"
    QStringList flags;             // "--json"
    QStringList files;
    QString error; // empty when the arguments were understood

    bool has(const QString &option) const { return values.contains(option); }
    bool flag(const QString &option) const { return flags.contains(option); }
};

// Options in valueOptions take a value ("--title T" or "--title=T"); those in
// flagOptions take none. Anything else that begins with "-" is an error.
Arguments ParseArguments(const QStringList &args, const QStringList &valueOptions,
                         const QStringList &flagOptions);
