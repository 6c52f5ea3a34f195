#include "FakeServices.h"
#include "FileTexts.h"
#include "PrintTags.h"
#include "SystemPrinter.h"
#include "TableRows.h"
#include "TagReport.h"
#include "TestFiles.h"

#include <QPainter>

#include <cmath>
#include <unistd.h>

namespace {
// A queue's default paper, and its size as pdfinfo tells it.
const struct {
    const char *name, *pageSize;
} kPapers[] = {{"Letter", "612 x 792 pts (letter)"}, {"A4", "595 x 842 pts (A4)"}};
} // namespace

// The report printed for real, through the program's own print path, on
// the default queue of a CUPS scheduler that the test runs itself: its own
// configuration folder, a socket in a temporary folder, stopped by its PID.
class SystemPrinterTest : public QObject {
    Q_OBJECT
    QTemporaryDir root_;
    QProcess cupsd_;
    SystemPrinter printer_;
    FakeMessages messages_;

    // What a CUPS or poppler tool wrote, or why it failed.
    QString run(const QString &tool, const QStringList &arguments) const
    {
        QProcess process;
        process.start(
            QStandardPaths::findExecutable(tool, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"}),
            arguments);
        if (process.waitForFinished(10000) && process.exitCode() == 0)
            return process.readAllStandardOutput();
        return tool + " " + arguments.join(' ') + " failed: " + process.errorString() + " " +
               process.readAllStandardError();
    }

    // Says why within seconds when CUPS is missing or won't start.
    QString startCups()
    {
        QDir root(root_.path());
        for (const char *folder : {"conf/ppd", "spool/tmp", "cache", "state", "log", "out"})
            root.mkpath(folder);
        // The scheduler's helpers run as lp and must reach their folders.
        for (const auto &[folder, mode] :
             {std::pair{"", 0x7755}, {"cache", 0x7777}, {"out", 0x7777}})
            QFile::setPermissions(root.filePath(folder), QFileDevice::Permissions(mode));
        // The scheduler's configuration, kept beside this test, made ours.
        for (const QString name : {"cupsd.conf", "cups-files.conf"}) {
            const QByteArray text = ReadFile(REFERENCE_DIR "/" + name);
            if (text.isEmpty() ||
                !TryWriteFile(root.filePath("conf/" + name),
                              QByteArray(text).replace("@ROOT@", QFile::encodeName(root.path()))))
                return "cannot write the scheduler's configuration";
        }
        // Everything that reads a CUPS setting from here on finds ours only.
        qputenv("CUPS_SERVER", QFile::encodeName(root.filePath("cups.sock")));
        qputenv("CUPS_SERVERROOT", root.filePath("conf").toLocal8Bit());
        qputenv("HOME", root.path().toLocal8Bit()); // no ~/.cups/lpoptions default
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");

        cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel); // its log
        cupsd_.start(QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/sbin"}),
                     {"-f", "-c", root.filePath("conf/cupsd.conf"), "-s",
                      root.filePath("conf/cups-files.conf")});
        QString status; // lpstat -r succeeds either way; only its words tell
        for (QDeadlineTimer deadline(10000);
             cupsd_.waitForStarted(1000) && !deadline.hasExpired();) {
            status = run("lpstat", {"-r"});
            if (status == "scheduler is running\n")
                return QString();
            cupsd_.waitForFinished(100);
        }
        return "cupsd (see scripts/install-deps) stopped or did not answer within 10 seconds: " +
               cupsd_.errorString() + ", " + status;
    }

    // The tag as shown; the artist as typed, not as in the file.
    ReportFields shown(const QString &artist = "De Kreukels") const
    {
        return {"song.mp3", "Zomeravond",  artist, "Live",
                "1999",     "ongewijzigd", "Jazz", root_.filePath("song.mp3")};
    }
    bool printShownTag(const QString &artist = "De Kreukels")
    {
        messages_.shown.clear();
        return PrintTags(shown(artist), QFileInfo(root_.filePath("song.mp3")), printer_, messages_);
    }

    // Every text of the report in full, and its first word within 1 pt of
    // where its twips put it on the printable area.
    void expectTextsInPlace(const QString &pdf, const QPointF &origin)
    {
        const QString words = run("pdftotext", {"-bbox", pdf, "-"}),
                      plain = run("pdftotext", {pdf, "-"}).simplified();
        const QRegularExpression word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)<");
        const auto input =
            GatherReportInput(shown("Bewerkt, niet bewaard"), QFileInfo(root_.filePath("song.mp3")),
                              [](const QFileInfo &file) { return DateSizeLine(file); });
        QVERIFY(input);
        for (const ReportText &text : ReportTexts(*input)) {
            QVERIFY2(plain.contains(text.text.simplified()),
                     qPrintable(text.text + " in " + plain));
            const QString first = text.text.simplified().section(' ', 0, 0).toHtmlEscaped();
            const QPointF expected = origin + QPointF(text.x, text.y) / 20.0;
            double nearest = 1e9;
            for (auto it = word.globalMatch(words); it.hasNext();)
                if (const auto m = it.next(); m.captured(3) == first)
                    nearest = qMin(nearest, std::hypot(m.captured(1).toDouble() - expected.x(),
                                                       m.captured(2).toDouble() - expected.y()));
            QVERIFY2(nearest <= 1.0, qPrintable(QString("%1 %2 pt away").arg(first).arg(nearest)));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("the scheduler's helpers run as lp, which needs a scheduler started as root");
        const QString problem = startCups();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(run("lpadmin",
                     {"-p", "BrelkoFile", "-E", "-v", "file://" + root_.filePath("out/page.pdf"),
                      "-m", "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd"}),
                 QString());
        QVERIFY(TryWriteFile(root_.filePath("song.mp3"), QByteArray(300, 'x')));
    }

    void cleanupTestCase()
    {
        cupsd_.terminate(); // SIGTERM to its own PID
        if (!cupsd_.waitForFinished(5000))
            cupsd_.kill();
    }

    void noDefaultQueue()
    {
        QVERIFY(run("lpstat", {"-d"}).contains("no system default"));
        QVERIFY(!printShownTag());
        QVERIFY(messages_.shown.size() == 1 && messages_.shown[0].text == NoPrinterMessage().text);
        QCOMPARE(run("lpstat", {"-W", "all", "-o"}), QString());
    }

    // Qt's own abort leaves a CUPS job to be sent when painting ends; ours
    // must not send anything.
    void abortedJobNeverReachesTheQueue()
    {
        QCOMPARE(run("lpadmin", {"-d", "BrelkoFile"}), QString());
        QPainter painter(printer_.open());
        QVERIFY(painter.isActive());
        painter.drawText(QPointF(100, 100), "half a page");
        painter.end();
        printer_.abort();
        QVERIFY(!printer_.submit());
        QCOMPARE(printer_.lastJobId(), 0);
        QCOMPARE(run("lpstat", {"-W", "all", "-o"}), QString());
    }

    void prints_data() { AddRows(kPapers); }
    void prints()
    {
        const auto &row = CurrentRow(kPapers);
        const QString paper = row.name, pageSize = row.pageSize;
        const QString queue = "BrelkoFile", pdf = root_.filePath("out/page.pdf");
        QFile::remove(pdf);
        QCOMPARE(run("lpadmin", {"-d", queue}) +
                     run("lpadmin", {"-p", queue, "-o", "PageSize=" + paper}),
                 QString());
        // Printed as typed, not as in the file.
        QVERIFY(printShownTag("Bewerkt, niet bewaard") && messages_.shown.isEmpty());
        const QString job = QString("%1-%2 ").arg(queue).arg(printer_.lastJobId());
        const QDeadlineTimer deadline(60000);
        while (!run("lpstat", {"-W", "completed", "-o", queue}).contains(job)) {
            QVERIFY2(!deadline.hasExpired(), qPrintable(job + run("lpstat", {"-W", "all", "-o"})));
            QThread::msleep(200);
        }

        // The job asks for colour and for the queue's paper (IPP: name, length, value).
        const QByteArray attributes = ReadFile(
            root_.filePath(QString("spool/c%1").arg(printer_.lastJobId(), 5, 10, QChar('0'))));
        QVERIFY(attributes.contains(QByteArray("print-color-mode\0\5color", 23)));
        QVERIFY(attributes.contains(
            QByteArray("media\0", 6).append(char(paper.size())).append(paper.toUtf8())));

        const QString info = run("pdfinfo", {pdf}).simplified() + ' ';
        QVERIFY2(info.contains("Pages: 1 ") && info.contains("Page size: " + pageSize + ' '),
                 qPrintable(info));
        // The printer description leaves 18 pt on the left and 36 pt at the top
        // of both papers.
        expectTextsInPlace(pdf, QPointF(18, 36));
    }
};

QTEST_MAIN(SystemPrinterTest)
#include "tst_systemprinter.moc"
