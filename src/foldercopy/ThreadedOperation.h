#pragma once

#include "ShellOperation.h"

// Runs another operation on a worker thread while the calling thread waits
// in an event loop, so its windows repaint and its timers tick. Questions
// and the end of the operation reach ui on the calling thread; progress
// arrives there a few times a second, and Cancel is passed back the same way.
class ThreadedOperation : public FileOperation {
public:
    explicit ThreadedOperation(FileOperation &work) : work_(work) {}
    qint32 perform(const ShellRequest &request, OperationUi &ui) override;

private:
    FileOperation &work_;
};
