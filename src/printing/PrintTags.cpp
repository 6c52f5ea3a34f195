#include "PrintTags.h"

#include "FileTexts.h"
#include "ReportPrinter.h"

#include <QPainter>

MessageRequest NoPrinterMessage()
{
    MessageRequest request;
    request.text = QStringLiteral("Geen printer aangesloten...\r\nof de printer staat niet aan!");
    request.caption = QStringLiteral("Brelko");
    request.buttons = MessageButtons::Ok;
    request.icon = MessageIcon::None;
    request.defaultAnswer = MessageAnswer::Ok;
    return request;
}

bool PrintReportPage(const TagReportInput &input, ReportPrinter &printer)
{
    const QImage banner = ReportBanner();
    QPaintDevice *device = printer.open();
    if (device == nullptr)
        return false;
    QPainter painter;
    if (!banner.isNull() && painter.begin(device) && printer.healthy()) {
        PaintTagReport(painter, input, banner);
        if (painter.end() && printer.healthy() && printer.submit())
            return true;
    }
    if (painter.isActive())
        painter.end();
    printer.abort();
    return false;
}

bool PrintTags(const ReportFields &fields, const QFileInfo &file,
               const DateSizeTextFunction &dateSizeText, ReportPrinter &printer,
               MessageService &messages, QWidget *owner)
{
    const std::optional<TagReportInput> input = GatherReportInput(fields, file, dateSizeText);
    if (input && PrintReportPage(*input, printer))
        return true;
    messages.show(owner, NoPrinterMessage());
    return false;
}

bool PrintTags(const ReportFields &fields, const QFileInfo &file, ReportPrinter &printer,
               MessageService &messages, QWidget *owner)
{
    const auto dateSizeText = [](const QFileInfo &info) { return DateSizeLine(info); };
    return PrintTags(fields, file, dateSizeText, printer, messages, owner);
}
