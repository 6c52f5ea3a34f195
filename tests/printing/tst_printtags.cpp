#include "FakeServices.h"
#include "PrintTags.h"
#include "ReportPrinter.h"
#include "TableRows.h"
#include "TagReport.h"

#include <QPaintEngine>
#include <QtTest>

struct RecordedText {
    QPointF baseline;
    QString text;
    QFont font;
    QColor colour;
};

// A printer that is its own page and paint engine: it remembers what was
// painted instead of drawing it, every text with its baseline, font and pen
// colour and every image with its target and source rectangles, at the
// resolution the test chooses (a page of 11 x 11 inches). It can be missing,
// fail once the job has started or half way down the page (the banner has
// arrived, the texts have not), or refuse the job, and it logs what was done.
struct RecordingPrinter : ReportPrinter, QPaintDevice, QPaintEngine {
    enum Fault { None, Missing, FailsWhenStarted, FailsWhilePainting, Refused };
    RecordingPrinter(int dpi, Fault fault) : QPaintEngine(AllFeatures), dpi(dpi), fault(fault) {}

    QPaintDevice *open() override { return log << "open", fault == Missing ? nullptr : this; }
    bool healthy() const override
    {
        return fault != FailsWhenStarted && (fault != FailsWhilePainting || images.isEmpty());
    }
    bool submit() override { return log << "submit", fault != Refused; }
    void abort() override { log << "abort"; }

    QPaintEngine *paintEngine() const override { return const_cast<RecordingPrinter *>(this); }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState &state) override
    {
        pen = state.state() & DirtyPen ? state.pen().color() : pen;
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &to, const QImage &, const QRectF &from,
                   Qt::ImageConversionFlags) override
    {
        images.append({to, from});
    }
    void drawTextItem(const QPointF &baseline, const QTextItem &item) override
    {
        texts.append({baseline, item.text(), item.font(), pen});
    }
    int metric(PaintDeviceMetric m) const override
    {
        if (m == PdmDevicePixelRatioScaled)
            return QPaintDevice::metric(m); // from the ratio of 1
        return m == PdmDevicePixelRatio              ? 1
               : m == PdmDepth                       ? 32
               : m == PdmWidthMM || m == PdmHeightMM ? 279
               : m == PdmWidth || m == PdmHeight     ? dpi * 11
                                                     : dpi; // every resolution is the test's
    }

    int dpi;
    Fault fault;
    QColor pen;
    QStringList log;
    QVector<RecordedText> texts;
    QVector<QPair<QRectF, QRectF>> images; // target, source
};

namespace {
using P = RecordingPrinter;
const QStringList tag{"song.mp3", "Titel", "Artiest", "Album", "1999", "Commentaar", "Jazz"};
const QStringList edited{"song.mp3", "  Nieuw  ", "Artiest", "Album", "2001", " x", "Unknown"};
const QStringList sent{"date", "open", "submit"}, aborted{"date", "open", "abort"};
// shown: the list entry and the six tag boxes; file: song, gone, folder or none.
// clang-format off
const struct { const char *name; int dpi; QStringList shown; QString file; P::Fault fault;
               QStringList log; } rows[] = {
    {"1200 dpi", 1200, tag, "song", P::None, sent},
    {"300 dpi, edited, untrimmed", 300, edited, "song", P::None, sent},
    {"600 dpi, empty fields", 600, {"song.mp3", "", "", "", "", "", ""}, "song", P::None, sent},
    {"360 dpi, no selection", 360, {"", "Titel", "", "", "", "", "Blues"}, "song", P::None, sent},
    {"no printer", 600, tag, "song", P::Missing, {"date", "open"}},
    {"no file clicked", 600, tag, "none", P::None, {}},
    {"file vanished", 600, tag, "gone", P::None, {}},
    {"path is a folder", 600, tag, "folder", P::None, {}},
    {"fails at start", 600, tag, "song", P::FailsWhenStarted, aborted},
    {"fails half way", 600, tag, "song", P::FailsWhilePainting, aborted},
    {"refused by the queue", 600, tag, "song", P::Refused, {"date", "open", "submit", "abort"}}};
// clang-format on
} // namespace

// The report through the print path: the page laid out at the printer's
// resolution, or on any failure the message and no job left behind.
class PrintTagsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void print_data() { AddRows(rows); }

    void print()
    {
        const auto &[name, dpi, shown, file, fault, expectedLog] = CurrentRow(rows);
        QTemporaryFile song;
        QVERIFY(song.open());
        const QString path = file == "song"     ? song.fileName()
                             : file == "gone"   ? song.fileName() + ".gone"
                             : file == "folder" ? QDir::tempPath()
                                                : QString();
        const ReportFields fields{shown[0], shown[1], shown[2], shown[3],
                                  shown[4], shown[5], shown[6], path};
        RecordingPrinter printer(dpi, fault);
        const auto dateSize = [&printer](const QFileInfo &info) {
            return printer.log << "date", info.fileName().prepend("size of ");
        };
        FakeMessages messages;
        const bool printed = PrintTags(fields, QFileInfo(path), dateSize, printer, messages);
        QCOMPARE(printer.log, expectedLog);
        QCOMPARE(printed, expectedLog.endsWith("submit"));
        QCOMPARE(messages.shown.size(), printed ? 0 : 1);
        if (!printed) {
            const MessageRequest &m = messages.shown.first();
            QCOMPARE(m.text + '|' + m.caption,
                     "Geen printer aangesloten...\r\nof de printer staat niet aan!|Brelko");
            QVERIFY(m.buttons == MessageButtons::Ok && m.icon == MessageIcon::None);
            return;
        }

        const qreal unit = dpi / 1440.0; // device units in a twip
        // The whole banner, where its twips put it.
        const QRectF banner(390 * unit, 300 * unit, 11100 * unit, 1500 * unit);
        QCOMPARE(printer.images, decltype(printer.images)({{banner, QRectF(0, 0, 1000, 150)}}));
        // Each text where its twips put it at this resolution; an empty value draws nothing.
        QVector<ReportText> expected = ReportTexts({fields, dateSize(QFileInfo(path))});
        expected.removeIf([](const ReportText &t) { return t.text.isEmpty(); });
        QCOMPARE(printer.texts.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const ReportText &want = expected[i];
            const RecordedText &got = printer.texts[i];
            const qreal top = got.baseline.y() - QFontMetricsF(got.font, &printer).ascent();
            QVERIFY2(got.text == want.text && qAbs(got.baseline.x() - want.x * unit) <= 1 &&
                         qAbs(top - want.y * unit) <= 1 && got.font.family() == "Arial" &&
                         got.font.pointSizeF() == 12.0 && got.font.bold() == want.bold &&
                         got.colour == want.colour,
                     qPrintable(want.text + " as " + got.text));
        }
    }
};

QTEST_MAIN(PrintTagsTest)
#include "tst_printtags.moc"
