#pragma once

#include <QByteArrayList>
#include <QMap>
#include <QString>
#include <QStringList>

// The options and files of one command. Options may stand before or between
// the files; "--" ends them, so a file may begin with "-". Files stay the
// bytes they were given as: a name that is not valid in the locale's
// encoding still names its file.
struct Arguments {
    QMap<QString, QByteArray> values; // "--title" -> "Morning", as given
    QStringList flags;                // "--json"
    QByteArrayList files;
    QString error; // empty when the arguments were understood

    bool has(const QString &option) const { return values.contains(option); }
    QString value(const QString &option) const;
    bool flag(const QString &option) const { return flags.contains(option); }
    // The files as text, for the commands that still work on names.
    QStringList fileNames() const;
};

// Options in valueOptions take a value ("--title T" or "--title=T"); those in
// flagOptions take none. Anything else that begins with "-" is an error.
// Without allowNoFiles, a command line without files is an error too.
Arguments ParseArguments(const QByteArrayList &args, const QStringList &valueOptions,
                         const QStringList &flagOptions, bool allowNoFiles = false);
