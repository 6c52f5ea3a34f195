#include "DateSizeText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class DateSizeTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dateTime_data();
    void dateTime();
    void zoneRemoved_data();
    void zoneRemoved();
    void fileText();
};

void DateSizeTextTest::dateTime_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nl morning") << "nl_NL" << QTime(9, 5, 7) << "02-01-2024 09:05:07";
    QTest::newRow("nl evening") << "nl_NL" << QTime(23, 59, 0) << "02-01-2024 23:59:00";
    QTest::newRow("nl midnight") << "nl_NL" << QTime(0, 0, 0) << "02-01-2024";
    QTest::newRow("nl midnight and a bit") << "nl_NL" << QTime(0, 0, 0, 400) << "02-01-2024";
    QTest::newRow("nl one second past") << "nl_NL" << QTime(0, 0, 1) << "02-01-2024 00:00:01";
    QTest::newRow("us twelve hours") << "en_US" << QTime(21, 5, 7) << "1/2/24 9:05:07 PM";
    QTest::newRow("us midnight") << "en_US" << QTime(0, 0) << "1/2/24";
    QTest::newRow("de") << "de_DE" << QTime(9, 5, 7) << "02.01.24 09:05:07";
    QTest::newRow("fi dots") << "fi_FI" << QTime(9, 5, 7) << "2.1.2024 9.05.07";
    QTest::newRow("zh zone first") << "zh_CN" << QTime(9, 5, 7) << "2024/1/2 09:05:07";
}

void DateSizeTextTest::dateTime()
{
    QFETCH(QString, locale);
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2024, 1, 2), time, Qt::LocalTime);
    QCOMPARE(LocalDateTimeText(when, QLocale(locale)), expected);
}

void DateSizeTextTest::zoneRemoved_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zone last") << "HH:mm:ss t"
                               << "HH:mm:ss";
    QTest::newRow("zone first") << "t HH:mm:ss"
                                << "HH:mm:ss";
    QTest::newRow("zone in the middle") << "h:mm:ss t AP"
                                        << "h:mm:ss AP";
    QTest::newRow("long zone name") << "HH:mm:ss tttt"
                                    << "HH:mm:ss";
    QTest::newRow("quoted t kept") << "H 'tijd' mm t"
                                   << "H 'tijd' mm";
    QTest::newRow("doubled quote") << "H''mm t"
                                   << "H''mm";
    QTest::newRow("no zone") << "HH:mm:ss"
                             << "HH:mm:ss";
}

void DateSizeTextTest::zoneRemoved()
{
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(TimeFormatWithoutZone(format), expected);
}

void DateSizeTextTest::fileText()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("song.mp3")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1234567, 'x'));
    QVERIFY(file.flush());
    const QDateTime when(QDate(2023, 11, 30), QTime(14, 3, 9), Qt::LocalTime);
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();

    const QFileInfo info(file.fileName());
    QCOMPARE(FileDateSizeText(info, QLocale(QStringLiteral("nl_NL"))),
             QStringLiteral("30-11-2023 14:03:09 / Grootte : 1234567 Bytes"));

    // A stale QFileInfo must not hide what happened to the file since.
    QVERIFY(file.open(QIODevice::Append));
    file.write("abc");
    QVERIFY(file.flush()); // a later flush would stamp the time of now
    QVERIFY(file.setFileTime(QDateTime(QDate(2023, 12, 1), QTime(0, 0), Qt::LocalTime),
                             QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(FileDateSizeText(info, QLocale(QStringLiteral("nl_NL"))),
             QStringLiteral("01-12-2023 / Grootte : 1234570 Bytes"));
}

QTEST_GUILESS_MAIN(DateSizeTextTest)
#include "tst_datesizetext.moc"
