#pragma once

#include "ReportPrinter.h"

#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QVector>

struct RecordedText {
    QPointF baseline;
    QString text;
    QFont font;
    QColor colour;
};

// A printer that is its own page and paint engine: it remembers what was
// painted instead of drawing it, every text with its baseline, font and pen
// colour and every image with its target and source rectangles, at the
// resolution the test chooses. It can be missing, fail once the job has
// started or half way down the page, or refuse the job, and it logs what was
// done with it.
class RecordingPrinter : public ReportPrinter, public QPaintDevice, public QPaintEngine {
public:
    enum Fault { None, Missing, FailsWhenStarted, FailsWhilePainting, Refused };
    explicit RecordingPrinter(int dpi, Fault fault = None)
        : QPaintEngine(AllFeatures), dpi_(dpi), fault_(fault)
    {
    }

    QPaintDevice *open() override
    {
        log << "open";
        return fault_ == Missing ? nullptr : this;
    }
    bool healthy() const override
    {
        // Half way down: the banner has arrived, the texts have not.
        return fault_ != FailsWhenStarted && (fault_ != FailsWhilePainting || images.isEmpty());
    }
    bool submit() override
    {
        log << "submit";
        return fault_ != Refused;
    }
    void abort() override { log << "abort"; }

    QPaintEngine *paintEngine() const override { return const_cast<RecordingPrinter *>(this); }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & DirtyPen)
            pen_ = state.pen().color();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &target, const QImage &, const QRectF &source,
                   Qt::ImageConversionFlags) override
    {
        images.append({target, source});
    }
    void drawTextItem(const QPointF &baseline, const QTextItem &item) override
    {
        texts.append({baseline, item.text(), item.font(), pen_});
    }

    QStringList log;
    QVector<RecordedText> texts;
    QVector<QPair<QRectF, QRectF>> images; // target, source

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        if (metric == PdmDevicePixelRatioScaled)
            return QPaintDevice::metric(metric);                       // from the ratio of 1
        const bool inches = metric == PdmWidth || metric == PdmHeight; // a page of 11 x 11
        const bool mm = metric == PdmWidthMM || metric == PdmHeightMM;
        return metric == PdmDevicePixelRatio ? 1
               : metric == PdmDepth          ? 32
               : mm                          ? 279
               : inches                      ? dpi_ * 11
                                             : dpi_; // every resolution is the test's
    }

private:
    int dpi_;
    Fault fault_;
    QColor pen_;
};
