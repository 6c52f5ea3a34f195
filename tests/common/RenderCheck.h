#pragma once

// Compares a window, rendered offscreen, with a reference picture kept in the
// repository. Set BRELKO_WRITE_REFERENCE=1 to write the pictures anew after a
// wanted change of looks; look at them before committing.

#include <QApplication>
#include <QImage>
#include <QtTest>
#include <QWidget>

// The number of pixels that differ by more than font anti-aliasing would.
inline int DifferentPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            const int distance =
                qAbs(p.red() - q.red()) + qAbs(p.green() - q.green()) + qAbs(p.blue() - q.blue());
            count += distance > 96;
        }
    }
    return count;
}

// True when the widget looks like reference (a PNG path); a failing picture
// is left in the temporary folder to look at.
inline bool LooksLikeReference(QWidget *widget, const QString &reference)
{
    QApplication::setCursorFlashTime(0); // a text cursor that does not blink
    const QImage shot = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("BRELKO_WRITE_REFERENCE"))
        shot.save(reference);
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    const int differing = DifferentPixels(shot, expected);
    if (differing <= 40)
        return true;
    const QString kept = QDir::temp().filePath(QFileInfo(reference).fileName());
    shot.save(kept);
    qWarning("%d pixels differ from %s; the window as drawn is %s", differing,
             qPrintable(reference), qPrintable(kept));
    return false;
}
