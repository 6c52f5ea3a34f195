// Texts worked out without a window: clock, title line, dates.
#include "FileTexts.h"
#include "MainTexts.h"

#include <QtTest>

class MainTextsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void titleLine()
    {
        const QString host = QString::fromLatin1(MakerHost), date = QStringLiteral("07-03-2024");
        // The text at the edges of each slot of the minute; "-" keeps what is shown.
        const QList<QPair<int, QString>> rows = {{0, date},      {5, date},  {6, "Gratis software"},
                                                 {30, host},     {35, host}, {36, "Brelko"},
                                                 {41, "Brelko"}, {42, "-"},  {59, "-"}};
        for (const auto &[second, text] : rows) {
            const QDateTime when(QDate(2024, 3, 7), QTime(10, 11, second));
            QCOMPARE(QString::number(second) + ' ' +
                         TitleLineText(when, QLocale("nl_NL")).value_or(QStringLiteral("-")),
                     QString::number(second) + ' ' + text);
        }
    }

    void dateTime()
    {
        const QDate date(2024, 3, 7);
        const QLocale nl("nl_NL");
        QCOMPARE(ClockText(QTime(0, 0, 0)), QStringLiteral("0:00:00 "));
        QCOMPARE(DateTimeText(QDateTime(date, QTime(0, 0, 0)), nl), "07-03-2024"); // midnight
        QCOMPARE(DateTimeText(QDateTime(date, QTime(0, 0, 1)), nl), "07-03-2024 00:00:01");
        // No thousands separators in large sizes.
        QCOMPARE(DateSizeLine(QDateTime(date, QTime(9, 5, 3)), 1234567890123LL, nl),
                 "07-03-2024 09:05:03 / Grootte : 1234567890123 Bytes");
        QCOMPARE(DateSizeLine(QFileInfo(QStringLiteral("/nonexistent/gone.mp3"))), QString());
    }

    void zoneRemoved()
    {
        const char *const rows[][2] = {
            {"HH:mm:ss t", "HH:mm:ss"},       {"t HH:mm:ss", "HH:mm:ss"},
            {"h:mm:ss t AP", "h:mm:ss AP"},   {"HH:mm:ss tttt", "HH:mm:ss"},
            {"H 'tijd' mm t", "H 'tijd' mm"}, {"H''mm t", "H''mm"}};
        for (const auto &row : rows)
            QCOMPARE(TimeFormatWithoutZone(row[0]), QString(row[1]));
    }
};

QTEST_GUILESS_MAIN(MainTextsTest)
#include "tst_MainTexts.moc"
