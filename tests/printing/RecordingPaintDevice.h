#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QVector>

// A page that remembers what was painted on it instead of drawing it:
// every text with its baseline position, font and pen colour, and every
// image with its target rectangle. Its resolution is chosen by the test.
struct RecordedText {
    QPointF baseline;
    QString text;
    QFont font;
    QColor colour;
};

struct RecordedImage {
    QRectF target;
    QRectF source;
    QSize imageSize;
};

class RecordingPaintEngine : public QPaintEngine {
public:
    RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            pen_ = state.pen().color();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags) override
    {
        images.append({target, source, image.size()});
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        texts.append({p, item.text(), item.font(), pen_});
    }

    QVector<RecordedText> texts;
    QVector<RecordedImage> images;

private:
    QColor pen_;
};

class RecordingPaintDevice : public QPaintDevice {
public:
    explicit RecordingPaintDevice(int dpi) : dpi_(dpi) {}
    QPaintEngine *paintEngine() const override { return &engine_; }
    RecordingPaintEngine &engine() { return engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return dpi_ * 8; // a printable area of 8 x 11 inches
        case PdmHeight:
            return dpi_ * 11;
        case PdmWidthMM:
            return 203;
        case PdmHeightMM:
            return 279;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    int dpi_;
    mutable RecordingPaintEngine engine_;
};
