#include "PrivateCups.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

namespace {

const QStringList SystemFolders{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                QStringLiteral("/usr/bin"), QStringLiteral("/bin")};

QString findTool(const QString &name)
{
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(name, SystemFolders);
    return found;
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

PrivateCups::~PrivateCups()
{
    if (scheduler_.state() == QProcess::NotRunning)
        return;
    scheduler_.terminate(); // SIGTERM to its own PID
    if (!scheduler_.waitForFinished(5000)) {
        scheduler_.kill();
        scheduler_.waitForFinished(2000);
    }
}

QString PrivateCups::writeConfiguration()
{
    const QDir root(folder_.path());
    for (const char *sub : {"conf/ppd", "spool/tmp", "cache", "state", "log", "out"}) {
        if (!root.mkpath(QString::fromLatin1(sub)))
            return QStringLiteral("cannot create ") + root.filePath(QString::fromLatin1(sub));
    }
    // The scheduler's helpers run as lp and must reach their folders.
    const auto everyone = QFileDevice::Permissions(0x7777);
    QFile::setPermissions(root.path(),
                          everyone & ~(QFileDevice::WriteGroup | QFileDevice::WriteOther));
    QFile::setPermissions(root.filePath("cache"), everyone);
    QFile::setPermissions(root.filePath("out"), everyone);
    const QString socket = root.filePath(QStringLiteral("cups.sock"));
    const QString server = QStringLiteral("Listen %1\n"
                                          "LogLevel warn\n"
                                          "WebInterface No\n"
                                          "Browsing No\n"
                                          "<Location />\n  Order allow,deny\n  Allow all\n"
                                          "</Location>\n")
                               .arg(socket);
    const QString files = QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\n"
                                         "TempDir %1/spool/tmp\nCacheDir %1/cache\n"
                                         "StateDir %1/state\nErrorLog %1/log/error_log\n"
                                         "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                                         "FileDevice Yes\nUser lp\nGroup lp\nSystemGroup root\n")
                              .arg(root.path());
    if (!writeFile(root.filePath("conf/cupsd.conf"), server) ||
        !writeFile(root.filePath("conf/cups-files.conf"), files))
        return QStringLiteral("cannot write the scheduler's configuration");

    // Everything that reads a CUPS setting from here on finds ours only.
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    qputenv("CUPS_SERVERROOT", root.filePath("conf").toLocal8Bit());
    qputenv("HOME", root.path().toLocal8Bit()); // no ~/.cups/lpoptions default
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    return QString();
}

QString PrivateCups::start()
{
    const QString cupsd = findTool(QStringLiteral("cupsd"));
    for (const QString &tool : {QStringLiteral("lpadmin"), QStringLiteral("lpstat")}) {
        if (findTool(tool).isEmpty())
            return tool +
                   QStringLiteral(" not found: CUPS is not installed (scripts/install-deps)");
    }
    if (cupsd.isEmpty())
        return QStringLiteral("cupsd not found: CUPS is not installed (scripts/install-deps)");
    if (!folder_.isValid())
        return QStringLiteral("no temporary folder");
    const QString problem = writeConfiguration();
    if (!problem.isEmpty())
        return problem;

    scheduler_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    scheduler_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"),
                             folder_.filePath("conf/cupsd.conf"), QStringLiteral("-s"),
                             folder_.filePath("conf/cups-files.conf")});
    if (!scheduler_.waitForStarted(5000))
        return QStringLiteral("cupsd did not start: ") + scheduler_.errorString();

    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QString status; // lpstat -r succeeds either way; only its words tell
        run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &status);
        if (status.trimmed() == QStringLiteral("scheduler is running"))
            return QString();
        if (scheduler_.waitForFinished(100))
            return QStringLiteral("cupsd stopped at once (exit code %1):\n")
                       .arg(scheduler_.exitCode()) +
                   errorLog();
    }
    return QStringLiteral("cupsd did not answer within 10 seconds:\n") + errorLog();
}

QString PrivateCups::run(const QString &tool, const QStringList &arguments, QString *output) const
{
    QProcess process;
    process.start(findTool(tool), arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return tool + QStringLiteral(" did not finish: ") + process.errorString();
    }
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (output)
        *output = out;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return tool + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
               QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return QString();
}

bool PrivateCups::waitForCompletedJob(const QString &queue, int job, int timeoutMs) const
{
    const QString name = QStringLiteral("%1-%2 ").arg(queue).arg(job);
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QString completed;
        run(QStringLiteral("lpstat"),
            {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"), queue},
            &completed);
        if (completed.contains(name))
            return true;
        QThread::msleep(200);
    }
    return false;
}

QString PrivateCups::errorLog() const
{
    QFile log(folder_.filePath("log/error_log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(2000))
                                         : QStringLiteral("(no error log)");
}
