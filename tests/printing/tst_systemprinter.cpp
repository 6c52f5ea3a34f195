#include "FakeMessageService.h"
#include "PrintTags.h"
#include "PrivateCups.h"
#include "SystemPrinter.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

// The report printed for real: through the program's own print path onto
// the default queue of a CUPS scheduler that the test runs itself.
class SystemPrinterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void noDefaultQueue();
    void noFileNoJob();
    void abortedJobNeverReachesTheQueue();
    void printsOnePageOnCupsPdf();
    void printsTheContentThroughAFileQueue();

private:
    QString allJobs() const;
    QString pdfTool(const QString &tool, const QString &pdf) const;
    ReportFields shownTag() const;

    std::unique_ptr<PrivateCups> cups_;
    QTemporaryDir music_;
};

void SystemPrinterTest::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("the cups-pdf backend runs only under a scheduler started as root");
    cups_ = std::make_unique<PrivateCups>();
    const QString problem = cups_->start();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const QString pdfQueue = cups_->run("lpadmin", {"-p", "BrelkoPdf", "-E", "-v", "cups-pdf:/",
                                                    "-m", "lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd"});
    QVERIFY2(pdfQueue.isEmpty(), qPrintable(pdfQueue));
    const QString fileQueue = cups_->run(
        "lpadmin", {"-p", "BrelkoFile", "-E", "-v", "file://" + cups_->outputFolder() + "/page.pdf",
                    "-m", "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd"});
    QVERIFY2(fileQueue.isEmpty(), qPrintable(fileQueue));

    QFile song(music_.filePath("song.mp3"));
    QVERIFY(song.open(QIODevice::WriteOnly));
    song.write(QByteArray(300, 'x'));
}

ReportFields SystemPrinterTest::shownTag() const
{
    return {"song.mp3", "Zomeravond",  "De Kreukels", "Live",
            "1999",     "ongewijzigd", "Jazz",        music_.filePath("song.mp3")};
}

QString SystemPrinterTest::allJobs() const
{
    QString jobs;
    cups_->run("lpstat", {"-W", "all", "-o"}, &jobs);
    return jobs;
}

QString SystemPrinterTest::pdfTool(const QString &tool, const QString &pdf) const
{
    QProcess process;
    process.start(tool, tool == "pdfinfo" ? QStringList{pdf} : QStringList{pdf, "-"});
    process.waitForFinished(20000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

void SystemPrinterTest::noDefaultQueue()
{
    QString defaultQueue;
    cups_->run("lpstat", {"-d"}, &defaultQueue);
    QVERIFY2(defaultQueue.contains("no system default"), qPrintable(defaultQueue));

    SystemPrinter printer;
    FakeMessageService messages;
    QVERIFY(!PrintTags(shownTag(), QFileInfo(shownTag().selectedFilePath), printer, messages));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, NoPrinterMessage().text);
    QCOMPARE(allJobs(), QString());
}

void SystemPrinterTest::noFileNoJob()
{
    QVERIFY(cups_->run("lpadmin", {"-d", "BrelkoPdf"}).isEmpty());
    for (const QString &path : {QString(), music_.filePath("gone.mp3")}) {
        ReportFields fields = shownTag();
        fields.selectedFilePath = path;
        SystemPrinter printer;
        FakeMessageService messages;
        QVERIFY(!PrintTags(fields, QFileInfo(path), printer, messages));
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(printer.lastJobId(), 0);
    }
    QCOMPARE(allJobs(), QString());
}

// Qt's own abort leaves a CUPS job to be sent when painting ends; ours
// must not send anything.
void SystemPrinterTest::abortedJobNeverReachesTheQueue()
{
    QVERIFY(cups_->run("lpadmin", {"-d", "BrelkoPdf"}).isEmpty());
    SystemPrinter printer;
    QPaintDevice *page = printer.open();
    QVERIFY(page);
    QPainter painter(page);
    painter.drawText(QPointF(100, 100), "half a page");
    painter.end();
    printer.abort();
    QVERIFY(!printer.submit());
    QCOMPARE(printer.lastJobId(), 0);
    QCOMPARE(allJobs(), QString());
}

void SystemPrinterTest::printsOnePageOnCupsPdf()
{
    QVERIFY(cups_->run("lpadmin", {"-d", "BrelkoPdf"}).isEmpty());
    // cups-pdf writes into the PDF folder of the job's user, named after the job.
    const QDir output(QString::fromLocal8Bit(getpwuid(geteuid())->pw_dir) + "/PDF");
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);

    SystemPrinter printer;
    FakeMessageService messages;
    QVERIFY(PrintTags(shownTag(), QFileInfo(shownTag().selectedFilePath), printer, messages));
    QVERIFY(messages.shown.isEmpty());
    QVERIFY(printer.lastJobId() > 0);
    QVERIFY2(cups_->waitForCompletedJob("BrelkoPdf", printer.lastJobId(), 60000),
             qPrintable(allJobs() + cups_->errorLog()));

    QStringList arrived;
    for (const QFileInfo &pdf : output.entryInfoList({"Brelko_Tags*.pdf"}, QDir::Files)) {
        if (pdf.lastModified() >= started)
            arrived << pdf.absoluteFilePath();
    }
    QCOMPARE(arrived.size(), 1);
    QVERIFY2(pdfTool("pdfinfo", arrived[0]).contains(QRegularExpression("Pages:\\s+1\\n")),
             qPrintable(pdfTool("pdfinfo", arrived[0])));
    const QString keep = qEnvironmentVariable("BRELKO_KEEP_PRINT");
    if (!keep.isEmpty())
        QFile::copy(arrived[0], keep + "/cups-pdf.pdf");
    QFile::remove(arrived[0]);
}

void SystemPrinterTest::printsTheContentThroughAFileQueue()
{
    QVERIFY(cups_->run("lpadmin", {"-d", "BrelkoFile"}).isEmpty());
    SystemPrinter printer;
    FakeMessageService messages;
    ReportFields fields = shownTag();
    fields.artist = "Bewerkt, niet bewaard"; // shown as typed, not as in the file
    QVERIFY(PrintTags(fields, QFileInfo(fields.selectedFilePath), printer, messages));
    QVERIFY(messages.shown.isEmpty());
    QVERIFY2(cups_->waitForCompletedJob("BrelkoFile", printer.lastJobId(), 60000),
             qPrintable(allJobs() + cups_->errorLog()));

    const QString pdf = cups_->outputFolder() + "/page.pdf";
    QVERIFY(pdfTool("pdfinfo", pdf).contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text = pdfTool("pdftotext", pdf).simplified();
    for (const QString &shown :
         QStringList{"Data : song.mp3", "Titel.............. : Zomeravond",
                     "Artiest.......... : Bewerkt, niet bewaard", "Genre........... : Jazz",
                     "Bestand....... : song.mp3", "/ Grootte : 300 Bytes", "Pathname.....",
                     ": " + fields.selectedFilePath})
        QVERIFY2(text.contains(shown), qPrintable(shown + " not in: " + text));
    const QString keep = qEnvironmentVariable("BRELKO_KEEP_PRINT");
    if (!keep.isEmpty())
        QFile::copy(pdf, keep + "/file-queue.pdf");
}

QTEST_MAIN(SystemPrinterTest)
#include "tst_systemprinter.moc"
