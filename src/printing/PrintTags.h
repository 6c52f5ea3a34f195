#pragma once

#include "TagReport.h"

#include "MessageService.h"

class QWidget;
class ReportPrinter;

// The one message for every way the report can fail.
MessageRequest NoPrinterMessage();

// Prints the report of what the main window shows on the printer's page:
// gathers every value first (the file's date and size included), then
// paints and ends the job. On any failure no job is left behind, the user
// is told once, and false is returned.
bool PrintTags(const ReportFields &fields, const QFileInfo &file, ReportPrinter &printer,
               MessageService &messages, QWidget *owner = nullptr);

// The same with the date-and-size text written by the caller's function.
bool PrintTags(const ReportFields &fields, const QFileInfo &file,
               const DateSizeTextFunction &dateSizeText, ReportPrinter &printer,
               MessageService &messages, QWidget *owner = nullptr);

// Paints a gathered report on a newly opened job and ends it. False, with
// the job aborted, when the printer is missing or fails on the way.
bool PrintReportPage(const TagReportInput &input, ReportPrinter &printer);
