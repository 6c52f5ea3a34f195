#include "Console.h"

#include "ShowFormat.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t stopSignal = 0;
bool outputFailed = false;

extern "C" void OnStopSignal(int signal)
{
    stopSignal = signal;
}

} // namespace

bool PrintOutLater(const QByteArray &utf8)
{
    if (outputFailed)
        return false;
    if (std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) != size_t(utf8.size()))
        outputFailed = true;
    return !outputFailed;
}

bool FlushOut()
{
    if (!outputFailed && std::fflush(stdout) != 0)
        outputFailed = true;
    return !outputFailed;
}

bool PrintOut(const QByteArray &utf8)
{
    return PrintOutLater(utf8) && FlushOut();
}

void PrintError(const QString &message)
{
    std::fflush(stdout); // keep the two streams in order on a terminal
    const QByteArray line = QByteArray("brelko-tag: ") + TerminalSafe(message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

void PrintFileError(const FilePath &file, const QString &reason)
{
    PrintError(DisplayPath(file) + QStringLiteral(": ") + reason);
}

QString SystemReason(int error)
{
    return FileErrorText(error);
}

void InstallStopHandler()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool StopRequested()
{
    return stopSignal != 0 || outputFailed;
}

void PrintStopped()
{
    PrintError(
        outputFailed && stopSignal == 0
            ? QStringLiteral("cannot write to standard output; these files were not touched:")
            : QStringLiteral("interrupted; these files were not touched:"));
}

int ReportStopped(const QList<FilePath> &files, int from)
{
    PrintStopped();
    for (int i = from; i < files.size(); ++i)
        PrintError(QStringLiteral("  ") + DisplayPath(files.at(i)));
    return ExitFileFailed;
}
