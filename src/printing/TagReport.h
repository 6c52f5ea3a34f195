#pragma once

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QRect>
#include <QString>
#include <QVector>

#include "ShownTag.h"

#include <functional>
#include <optional>

class QPainter;

// The report is made of the tag as the main window shows it.
using ReportFields = ShownTag;

// Everything the page shows, gathered before a print job starts, so that
// nothing can fail half way down a page.
struct TagReportInput {
    ReportFields fields;
    QString dateAndSize; // the file's date and size as the tag view writes them
};

using DateSizeTextFunction = std::function<QString(const QFileInfo &)>;

// Reads the file's date and size now. Nothing when the path is empty or no
// longer names a readable file.
std::optional<TagReportInput> GatherReportInput(const ReportFields &fields, const QFileInfo &file,
                                                const DateSizeTextFunction &dateSizeText);

// One text on the page, placed in twips from the top-left of the printable
// area; y is the top of the text.
struct ReportText {
    int x = 0;
    int y = 0;
    QString text;
    QColor colour;
    bool bold = false;
};

inline constexpr int ReportFontPointSize = 12;
inline const QRect ReportBannerTwips(390, 300, 11100, 1500);

// The texts of the page in the order they are printed.
QVector<ReportText> ReportTexts(const TagReportInput &input);

// The banner artwork kept with the program (1000 x 150 pixels).
QImage ReportBanner();

// Paints the page onto whatever the painter is open on (a printer, a PDF,
// an image), mapping twips onto the device's resolution.
void PaintTagReport(QPainter &painter, const TagReportInput &input, const QImage &banner);
