#include "PrintFakes.h"
#include "PrintTags.h"
#include "SystemPrinter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

// The report printed for real, through the program's own print path, on
// the default queue of a CUPS scheduler that the test runs itself: its own
// configuration folder, a socket in a temporary folder, stopped by its PID.
class SystemPrinterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void noJob_data();
    void noJob();
    void abortedJobNeverReachesTheQueue();
    void prints_data();
    void prints();

private:
    QString startCups();
    QString run(const QString &tool, const QStringList &arguments, QString *output = nullptr);
    QString jobs();
    QString errorLog() const;
    ReportFields shownTag() const;

    QTemporaryDir root_, music_;
    QProcess cupsd_;
};

namespace {

QString toolPath(const QString &name)
{
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
}

} // namespace

QString SystemPrinterTest::run(const QString &tool, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.start(toolPath(tool), arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return tool + " did not finish: " + process.errorString();
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return tool + " " + arguments.join(' ') + " failed: " + process.readAllStandardError();
    return QString();
}

QString SystemPrinterTest::jobs()
{
    QString all;
    run("lpstat", {"-W", "all", "-o"}, &all);
    return all;
}

QString SystemPrinterTest::errorLog() const
{
    QFile log(root_.filePath("log/error_log"));
    return log.open(QIODevice::ReadOnly) ? log.readAll().right(2000) : "(no error log)";
}

// Fails within seconds, saying why, when CUPS is missing or won't start.
QString SystemPrinterTest::startCups()
{
    for (const char *tool : {"cupsd", "lpadmin", "lpstat"}) {
        if (toolPath(tool).isEmpty())
            return tool + QString(" not found: CUPS is not installed (scripts/install-deps)");
    }
    const QDir root(root_.path());
    for (const char *sub : {"conf/ppd", "spool/tmp", "cache", "state", "log", "out"})
        root.mkpath(sub);
    // The scheduler's helpers run as lp and must reach their folders.
    for (const QString &path : {root.path(), root.filePath("cache"), root.filePath("out")})
        QFile::setPermissions(path,
                              QFileDevice::Permissions(path == root.path() ? 0x7755 : 0x7777));
    const QString socket = root.filePath("cups.sock");
    QFile server(root.filePath("conf/cupsd.conf")), files(root.filePath("conf/cups-files.conf"));
    if (!server.open(QIODevice::WriteOnly) || !files.open(QIODevice::WriteOnly))
        return "cannot write the scheduler's configuration";
    server.write(("Listen " + socket +
                  "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n")
                     .toUtf8());
    files.write(QString("ServerRoot %1/conf\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                        "CacheDir %1/cache\nStateDir %1/state\nErrorLog %1/log/error_log\n"
                        "FileDevice Yes\nUser lp\nGroup lp\nSystemGroup root\n")
                    .arg(root.path())
                    .toUtf8());
    server.close();
    files.close();
    // Everything that reads a CUPS setting from here on finds ours only.
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    qputenv("CUPS_SERVERROOT", root.filePath("conf").toLocal8Bit());
    qputenv("HOME", root.path().toLocal8Bit()); // no ~/.cups/lpoptions default
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");

    cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cupsd_.start(toolPath("cupsd"), {"-f", "-c", server.fileName(), "-s", files.fileName()});
    const QDeadlineTimer deadline(10000);
    while (cupsd_.waitForStarted(1000) && !deadline.hasExpired()) {
        QString status; // lpstat -r succeeds either way; only its words tell
        run("lpstat", {"-r"}, &status);
        if (status.trimmed() == "scheduler is running")
            return QString();
        if (cupsd_.waitForFinished(100))
            return QString("cupsd stopped at once (exit code %1):\n").arg(cupsd_.exitCode()) +
                   errorLog();
    }
    return "cupsd did not answer within 10 seconds: " + cupsd_.errorString() + "\n" + errorLog();
}

void SystemPrinterTest::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("the cups-pdf backend runs only under a scheduler started as root");
    const QString problem = startCups();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(run("lpadmin", {"-p", "BrelkoPdf", "-E", "-v", "cups-pdf:/", "-m",
                             "lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd"}),
             QString());
    QCOMPARE(
        run("lpadmin", {"-p", "BrelkoFile", "-E", "-v", "file://" + root_.filePath("out/page.pdf"),
                        "-m", "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd"}),
        QString());
    QFile song(music_.filePath("song.mp3"));
    QVERIFY(song.open(QIODevice::WriteOnly) && song.write(QByteArray(300, 'x')) == 300);
}

void SystemPrinterTest::cleanupTestCase()
{
    cupsd_.terminate(); // SIGTERM to its own PID
    if (!cupsd_.waitForFinished(5000))
        cupsd_.kill();
}

ReportFields SystemPrinterTest::shownTag() const
{
    return {"song.mp3", "Zomeravond",  "De Kreukels", "Live",
            "1999",     "ongewijzigd", "Jazz",        music_.filePath("song.mp3")};
}

void SystemPrinterTest::noJob_data()
{
    QTest::addColumn<QString>("defaultQueue");
    QTest::addColumn<QString>("file");
    QTest::newRow("no default queue") << ""
                                      << "song.mp3";
    QTest::newRow("no file clicked") << "BrelkoPdf"
                                     << "";
    QTest::newRow("file vanished") << "BrelkoPdf"
                                   << "gone.mp3";
}

void SystemPrinterTest::noJob()
{
    QFETCH(QString, defaultQueue);
    QFETCH(QString, file);
    if (defaultQueue.isEmpty()) {
        QString shown;
        run("lpstat", {"-d"}, &shown);
        QVERIFY2(shown.contains("no system default"), qPrintable(shown));
    } else {
        QCOMPARE(run("lpadmin", {"-d", defaultQueue}), QString());
    }
    ReportFields fields = shownTag();
    fields.selectedFilePath = file.isEmpty() ? QString() : music_.filePath(file);
    SystemPrinter printer;
    FakeMessageService messages;
    QVERIFY(!PrintTags(fields, QFileInfo(fields.selectedFilePath), printer, messages));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, NoPrinterMessage().text);
    QCOMPARE(printer.lastJobId(), 0);
    QCOMPARE(jobs(), QString());
}

// Qt's own abort leaves a CUPS job to be sent when painting ends; ours
// must not send anything.
void SystemPrinterTest::abortedJobNeverReachesTheQueue()
{
    QCOMPARE(run("lpadmin", {"-d", "BrelkoPdf"}), QString());
    SystemPrinter printer;
    QPaintDevice *page = printer.open();
    QVERIFY(page);
    QPainter painter(page);
    painter.drawText(QPointF(100, 100), "half a page");
    painter.end();
    printer.abort();
    QVERIFY(!printer.submit());
    QCOMPARE(printer.lastJobId(), 0);
    QCOMPARE(jobs(), QString());
}

void SystemPrinterTest::prints_data()
{
    QTest::addColumn<QString>("queue");
    QTest::newRow("cups-pdf") << "BrelkoPdf"; // its PDFs hold no text to read back
    QTest::newRow("Generic-PDF on a file") << "BrelkoFile";
}

void SystemPrinterTest::prints()
{
    QFETCH(QString, queue);
    QCOMPARE(run("lpadmin", {"-d", queue}), QString());
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    ReportFields fields = shownTag();
    fields.artist = "Bewerkt, niet bewaard"; // printed as typed, not as in the file
    SystemPrinter printer;
    FakeMessageService messages;
    QVERIFY(PrintTags(fields, QFileInfo(fields.selectedFilePath), printer, messages));
    QVERIFY(messages.shown.isEmpty());
    const QString job = QString("%1-%2 ").arg(queue).arg(printer.lastJobId());
    const QDeadlineTimer deadline(60000);
    for (QString done; !done.contains(job); QThread::msleep(200)) {
        QVERIFY2(!deadline.hasExpired(), qPrintable(job + "not completed: " + jobs() + errorLog()));
        run("lpstat", {"-W", "completed", "-o", queue}, &done);
    }

    // cups-pdf writes into its user's PDF folder, the name made from the job's.
    QFileInfoList arrived;
    const QDir cupsPdf(QString::fromLocal8Bit(getpwuid(geteuid())->pw_dir) + "/PDF");
    for (const QFileInfo &pdf : cupsPdf.entryInfoList({"Brelko_Tags*.pdf"}, QDir::Files) +
                                    QDir(root_.filePath("out")).entryInfoList(QDir::Files)) {
        if (pdf.lastModified() >= started)
            arrived << pdf;
    }
    QCOMPARE(arrived.size(), 1);
    const QString pdf = arrived[0].absoluteFilePath();
    QProcess tool;
    tool.start("pdfinfo", {pdf});
    QVERIFY(tool.waitForFinished(20000));
    QVERIFY(QString(tool.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\\n")));
    if (!qEnvironmentVariableIsEmpty("BRELKO_KEEP_PRINT"))
        QFile::copy(pdf, qEnvironmentVariable("BRELKO_KEEP_PRINT") + "/" + queue + ".pdf");
    if (queue == "BrelkoPdf") {
        QFile::remove(pdf);
        return;
    }
    tool.start("pdftotext", {pdf, "-"});
    QVERIFY(tool.waitForFinished(20000));
    const QString text = QString(tool.readAllStandardOutput()).simplified();
    for (const QString &shown :
         QStringList{"Data : song.mp3", "Titel.............. : Zomeravond",
                     "Artiest.......... : Bewerkt, niet bewaard", "Genre........... : Jazz",
                     "Bestand....... : song.mp3", "/ Grootte : 300 Bytes", "Pathname.....",
                     ": " + fields.selectedFilePath})
        QVERIFY2(text.contains(shown), qPrintable(shown + " not in: " + text));
}

QTEST_MAIN(SystemPrinterTest)
#include "tst_systemprinter.moc"
