#pragma once

#include <QByteArray>
#include <QByteArrayList>

// The files of one command, one at a time: first those on the command line,
// then those of a list file (standard input for "-"), separated by newlines
// or, with nulSeparated, by zero bytes. The list is read in blocks as the
// command goes, so a list of a million names never sits in memory at once.
class PathSource {
public:
    PathSource(QByteArrayList files, QByteArray listFile, bool nulSeparated);
    ~PathSource();
    PathSource(const PathSource &) = delete;
    PathSource &operator=(const PathSource &) = delete;

    // The next file, or false at the end. Empty names are skipped.
    bool next(QByteArray &path);

    // True when next() would not wait on the list: a name is at hand, or
    // the list has more to read, or has ended.
    bool ready() const;

    // Empty, or why the list could not be read to its end ("FILE: reason").
    QString error() const { return error_; }

private:
    bool fill();

    QByteArrayList files_;
    qsizetype nextFile_ = 0;
    QByteArray listFile_;
    char separator_;
    int fd_ = -1;
    bool listOpened_ = false;
    bool listEnded_ = false;
    QByteArray buffer_;
    qsizetype position_ = 0;
    QString error_;
};
