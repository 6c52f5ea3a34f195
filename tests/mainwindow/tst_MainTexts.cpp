// Texts worked out without a window: clock, title line, dates.
#include "MainTexts.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <utime.h>

class MainTextsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clock_data();
    void clock();
    void titleLine_data();
    void titleLine();
    void dateTime_data();
    void dateTime();
    void fileDateSize();
    void vanishedFile();
    void softwarePage();
};

void MainTextsTest::clock_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("no leading zero") << QTime(9, 5, 7) << "9:05:07 ";
    QTest::newRow("last minute") << QTime(23, 59, 0) << "23:59:00 ";
    QTest::newRow("midnight") << QTime(0, 0, 0) << "0:00:00 ";
    QTest::newRow("noon") << QTime(12, 0, 9) << "12:00:09 ";
}

void MainTextsTest::clock()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(ClockText(time), text);
}

void MainTextsTest::titleLine_data()
{
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("text"); // "-" keeps what is shown
    const QString host = QString::fromLatin1(MakerHost);
    const QString date = QStringLiteral("07-03-2024");
    const struct {
        int second;
        QString text;
    } rows[] = {{0, date},
                {3, date},
                {5, date},
                {6, "Gratis software"},
                {8, "Gratis software"},
                {12, "en de website voor"},
                {18, "filatelisten"},
                {20, "filatelisten"},
                {24, "en programmeurs op"},
                {30, host},
                {35, host},
                {36, "Brelko"},
                {40, "Brelko"},
                {41, "Brelko"},
                {42, "-"},
                {45, "-"},
                {50, "-"},
                {59, "-"}};
    for (const auto &row : rows)
        QTest::addRow("second %d", row.second) << row.second << row.text;
}

void MainTextsTest::titleLine()
{
    QFETCH(int, second);
    QFETCH(QString, text);
    const auto shown =
        TitleLineText(QDateTime(QDate(2024, 3, 7), QTime(10, 11, second)), QLocale("nl_NL"));
    if (text == QLatin1String("-"))
        QVERIFY(!shown.has_value());
    else
        QCOMPARE(shown.value_or(QStringLiteral("(nothing)")), text);
}

void MainTextsTest::dateTime_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<QString>("text");
    const QDate date(2024, 3, 7);
    QTest::newRow("nl") << "nl_NL" << QDateTime(date, QTime(9, 5, 3)) << "07-03-2024 09:05:03";
    QTest::newRow("nl midnight") << "nl_NL" << QDateTime(date, QTime(0, 0, 0)) << "07-03-2024";
    QTest::newRow("nl one second past")
        << "nl_NL" << QDateTime(date, QTime(0, 0, 1)) << "07-03-2024 00:00:01";
}

void MainTextsTest::dateTime()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, dateTime);
    QFETCH(QString, text);
    QCOMPARE(DateTimeText(dateTime, QLocale(locale)), text);
}

void MainTextsTest::fileDateSize()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.mp3"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(12345, 'x'));
    file.close();
    const QDateTime when(QDate(2024, 3, 7), QTime(9, 5, 3));
    struct utimbuf times = {time_t(when.toSecsSinceEpoch()), time_t(when.toSecsSinceEpoch())};
    QCOMPARE(utime(QFile::encodeName(path).constData(), &times), 0);
    QCOMPARE(DateSizeLine(QFileInfo(path), QLocale("nl_NL")),
             QStringLiteral("07-03-2024 09:05:03 / Grootte : 12345 Bytes"));
    // Large sizes have no thousands separators.
    QCOMPARE(DateSizeLine(when, 1234567890123LL, QLocale("nl_NL")),
             QStringLiteral("07-03-2024 09:05:03 / Grootte : 1234567890123 Bytes"));
}

void MainTextsTest::vanishedFile()
{
    QTemporaryDir dir;
    QCOMPARE(DateSizeLine(QFileInfo(dir.filePath(QStringLiteral("gone.mp3")))), QString());
}

void MainTextsTest::softwarePage()
{
    const QUrl url(SoftwarePageUrl());
    QVERIFY(url.isValid());
    QCOMPARE(url.host(), QString::fromLatin1(MakerHost));
    QCOMPARE(url.path(), QStringLiteral("/software.htm"));
    QVERIFY(url.host().endsWith(QStringLiteral(".example.org")));
}

QTEST_GUILESS_MAIN(MainTextsTest)
#include "tst_MainTexts.moc"
