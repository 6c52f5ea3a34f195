#pragma once

#include "MessageService.h"

#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QVector>

// Answers every message box with OK and remembers what it was asked.
class FakeMessageService : public MessageService {
public:
    MessageAnswer show(QWidget *, const MessageRequest &request) override
    {
        shown.append(request);
        return MessageAnswer::Ok;
    }
    QVector<MessageRequest> shown;
};

struct RecordedText {
    QPointF baseline;
    QString text;
    QFont font;
    QColor colour;
};

struct RecordedImage {
    QRectF target, source;
};

// A page that remembers what was painted on it instead of drawing it: every
// text with its baseline, font and pen colour, every image with its target
// and source. It is its own paint engine. The resolution is the test's.
class RecordingPage : public QPaintDevice, public QPaintEngine {
public:
    explicit RecordingPage(int dpi) : QPaintEngine(AllFeatures), dpi_(dpi) {}
    QPaintEngine *paintEngine() const override { return const_cast<RecordingPage *>(this); }
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

    QVector<RecordedText> texts;
    QVector<RecordedImage> images;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: // a printable area of 8 x 11 inches
            return dpi_ * 8;
        case PdmHeight:
            return dpi_ * 11;
        case PdmWidthMM:
            return 203;
        case PdmHeightMM:
            return 279;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
        case PdmDevicePixelRatioScaled:
            return QPaintDevice::metric(metric);
        default: // every resolution
            return dpi_;
        }
    }

private:
    int dpi_;
    QColor pen_;
};
