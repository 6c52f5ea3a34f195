#include "TagReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

std::optional<TagReportInput> GatherReportInput(const ReportFields &fields, const QFileInfo &file,
                                                const DateSizeTextFunction &dateSizeText)
{
    if (fields.selectedFilePath.isEmpty())
        return std::nullopt;
    QFileInfo fresh(file);
    fresh.refresh();
    if (!fresh.exists() || !fresh.isFile() || !fresh.isReadable())
        return std::nullopt;
    return TagReportInput{fields, dateSizeText(fresh)};
}

QVector<ReportText> ReportTexts(const TagReportInput &input)
{
    const ReportFields &f = input.fields;
    const QColor heading(90, 0, 0);
    const QColor tag(0, 90, 0);
    const QColor file(0, 0, 90);
    QVector<ReportText> texts{{450, 2100, QStringLiteral("Data : ") + f.fileName, heading, true}};
    const auto row = [&texts](int y, const QString &label, const QString &value,
                              const QColor &colour) {
        texts.append({450, y, label, colour, false});
        texts.append({1860, y, QStringLiteral(":"), colour, false});
        texts.append({1980, y, value, colour, false});
    };
    row(2700, QStringLiteral("Titel.............. "), f.title, tag);
    row(3000, QStringLiteral("Artiest.......... "), f.artist, tag);
    row(3300, QStringLiteral("Album.......... "), f.album, tag);
    row(3600, QStringLiteral("Jaar.............. "), f.year, tag);
    row(3900, QStringLiteral("Info............... "), f.comment, tag);
    row(4200, QStringLiteral("Genre........... "), f.genre, tag);
    row(4800, QStringLiteral("Bestand....... "), f.fileName, file);
    row(5100, QStringLiteral("Size.............. "), input.dateAndSize, file);
    row(5400, QStringLiteral("Pathname..... "), f.selectedFilePath, file);
    return texts;
}

QImage ReportBanner()
{
    Q_INIT_RESOURCE(printing);
    return QImage(QStringLiteral(":/printing/banner.png"));
}

namespace {

// Twips are 1/1440 inch; the device tells how many of its units make one.
class TwipsMapping {
public:
    explicit TwipsMapping(const QPaintDevice &device)
        : x_(device.logicalDpiX() / 1440.0), y_(device.logicalDpiY() / 1440.0)
    {
    }
    qreal x(int twips) const { return twips * x_; }
    qreal y(int twips) const { return twips * y_; }
    QRectF rect(const QRect &twips) const
    {
        return QRectF(x(twips.x()), y(twips.y()), x(twips.width()), y(twips.height()));
    }

private:
    qreal x_;
    qreal y_;
};

} // namespace

void PaintTagReport(QPainter &painter, const TagReportInput &input, const QImage &banner)
{
    const TwipsMapping twips(*painter.device());
    painter.drawImage(twips.rect(ReportBannerTwips), banner, QRectF(banner.rect()));

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(ReportFontPointSize);
    for (const ReportText &text : ReportTexts(input)) {
        font.setBold(text.bold);
        painter.setFont(font);
        painter.setPen(text.colour);
        // Texts are placed by their top; the painter writes on the baseline.
        const QFontMetricsF metrics(painter.font(), painter.device());
        painter.drawText(QPointF(twips.x(text.x), twips.y(text.y) + metrics.ascent()), text.text);
    }
}
