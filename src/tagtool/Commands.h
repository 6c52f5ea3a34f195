#pragma once

#include <QStringList>

// The commands of brelko-tag. Each takes the arguments after its name and
// returns the exit status.
int RunShow(const QStringList &args);
int RunSet(const QStringList &args);
int RunFill(const QStringList &args);
int RunRename(const QStringList &args);
int RunUndo(const QStringList &args);

// The whole command line after the program name.
int RunTagTool(const QStringList &args);
