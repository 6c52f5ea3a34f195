#pragma once

#include "ReportPrinter.h"

#include <QString>

#include <memory>

class QPrinter;
class QTemporaryDir;

// The system's default print queue, through CUPS. The page is painted in
// the queue's own high resolution and page set-up into a file of our own,
// and handed to the queue only when it is complete: a job that fails on
// the way never reaches the printer, and a queue that refuses the job is
// known as a failure.
class SystemPrinter : public ReportPrinter {
public:
    SystemPrinter();
    ~SystemPrinter() override;

    QPaintDevice *open() override;
    bool healthy() const override;
    bool submit() override;
    void abort() override;

    // The job's title in the print queue.
    static QString jobTitle();

    // The queue's number of the last job submitted; 0 before the first.
    int lastJobId() const { return lastJobId_; }

private:
    QString pageFile() const;

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<QPrinter> printer_;
    QString queue_;
    int lastJobId_ = 0;
};
