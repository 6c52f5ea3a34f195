#pragma once

#include <QByteArrayList>

// The commands of brelko-tag. Each takes the arguments after its name and
// returns the exit status.
int RunShow(const QByteArrayList &args);
int RunSet(const QByteArrayList &args);
int RunFill(const QByteArrayList &args);
int RunRename(const QByteArrayList &args);
int RunUndo(const QByteArrayList &args);

// The whole command line after the program name.
int RunTagTool(const QByteArrayList &args);
