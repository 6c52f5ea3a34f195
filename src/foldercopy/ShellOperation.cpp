#include "ShellOperation.h"

qint32 GetShellFlags(const ShellOptions &options)
{
    qint32 flags = 0;
    if (options.silent)
        flags = FOF_SILENT;
    if (options.simpleProgress)
        flags += FOF_SIMPLEPROGRESS;
    if (options.noConfirmation)
        flags += FOF_NOCONFIRMATION;
    if (options.renameOnCollision)
        flags += FOF_RENAMEONCOLLISION;
    return flags;
}
