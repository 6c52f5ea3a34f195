#include "SystemPrinter.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <cups/cups.h>

SystemPrinter::SystemPrinter() = default;
SystemPrinter::~SystemPrinter() = default;

QString SystemPrinter::jobTitle()
{
    return QStringLiteral("Brelko Tags");
}

QString SystemPrinter::pageFile() const
{
    // No ".pdf" ending: that would turn the printer into a plain PDF writer
    // and lose the queue's page set-up.
    return folder_->filePath(QStringLiteral("report"));
}

QPaintDevice *SystemPrinter::open()
{
    abort();
    // Without a default queue a QPrinter quietly takes the first one; the
    // report goes to the default printer or nowhere.
    const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    if (queue.isNull())
        return nullptr;
    folder_ = std::make_unique<QTemporaryDir>();
    if (!folder_->isValid()) {
        folder_.reset();
        return nullptr;
    }
    printer_ = std::make_unique<QPrinter>(queue, QPrinter::HighResolution);
    printer_->setDocName(jobTitle());
    // The queue's own paper, not the locale's: a page of another size would
    // be shrunk or cut to fit, and every text moved off its place.
    printer_->setPageSize(queue.defaultPageSize());
    printer_->setFullPage(false); // (0, 0) is the top-left of the printable area
    printer_->setColorMode(QPrinter::Color);
    printer_->setOutputFileName(pageFile());
    if (!printer_->isValid() || printer_->outputFormat() != QPrinter::NativeFormat) {
        abort();
        return nullptr;
    }
    queue_ = queue.printerName();
    return printer_.get();
}

bool SystemPrinter::healthy() const
{
    return printer_ && printer_->printerState() != QPrinter::Error &&
           printer_->printerState() != QPrinter::Aborted;
}

bool SystemPrinter::submit()
{
    if (!printer_ || QFileInfo(pageFile()).size() == 0)
        return false;
    // The job names its paper and asks for colour, so the queue neither
    // scales the page nor prints the coloured texts grey.
    const QByteArray media = printer_->pageLayout().pageSize().key().toUtf8();
    cups_option_t options[] = {
        {const_cast<char *>("media"), const_cast<char *>(media.data())},
        {const_cast<char *>("print-color-mode"), const_cast<char *>("color")}};
    const int job =
        cupsPrintFile(queue_.toLocal8Bit().constData(), QFile::encodeName(pageFile()).constData(),
                      jobTitle().toUtf8().constData(), 2, options);
    abort(); // the queue has its own copy now
    if (job <= 0)
        return false;
    lastJobId_ = job;
    return true;
}

void SystemPrinter::abort()
{
    printer_.reset();
    folder_.reset(); // removes the page file
    queue_.clear();
}
