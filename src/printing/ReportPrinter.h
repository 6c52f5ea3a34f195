#pragma once

class QPaintDevice;

// Where a printed page goes: the system's default printer in the program,
// a PDF or an image in tests. One job at a time: open, paint, submit, or
// abort instead of submitting.
class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;

    // A device for a new one-page job, or nullptr when there is no printer
    // to print on. The device stays valid until the next open().
    virtual QPaintDevice *open() = 0;

    // False once the device has reported an error during the job.
    virtual bool healthy() const = 0;

    // Hands the finished page to the printer, after painting has ended.
    // False when the printer refused it.
    virtual bool submit() = 0;

    // Drops the job, once painting has ended, so that nothing of it
    // reaches the printer.
    virtual void abort() = 0;
};
