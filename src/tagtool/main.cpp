// brelko-tag: the command-line companion of the Brelko window. No
// QCoreApplication: nothing here needs an event loop, and starting without
// one keeps a call over a few files in the milliseconds.
#include "Commands.h"
#include "Console.h"

#include <QByteArrayList>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    InstallStopHandler();
    // A write past the file size limit must fail like any other, with the
    // file put back, rather than end the program between two files.
    std::signal(SIGXFSZ, SIG_IGN);
    // Bytes as given: a file name is never turned into text and back.
    QByteArrayList args;
    args.reserve(argc);
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));
    const int status = RunTagTool(args);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        PrintError(QStringLiteral("cannot write to standard output"));
        return status == 0 ? 1 : status;
    }
    return status;
}
