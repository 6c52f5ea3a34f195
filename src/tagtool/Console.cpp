#include "Console.h"

#include "ShowFormat.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void OnStopSignal(int signal)
{
    stopSignal = signal;
}

} // namespace

void PrintOut(const QByteArray &utf8)
{
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
}

void PrintError(const QString &message)
{
    std::fflush(stdout); // keep the two streams in order on a terminal
    const QByteArray line = QByteArray("brelko-tag: ") + TerminalSafe(message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

void PrintFileError(const QString &file, const QString &reason)
{
    PrintError(file + QStringLiteral(": ") + reason);
}

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void InstallStopHandler()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool StopRequested()
{
    return stopSignal != 0;
}

int ReportStopped(const QStringList &files, int from)
{
    PrintError(QStringLiteral("interrupted; these files were not touched:"));
    for (int i = from; i < files.size(); ++i)
        PrintError(QStringLiteral("  ") + files.at(i));
    return ExitFileFailed;
}
