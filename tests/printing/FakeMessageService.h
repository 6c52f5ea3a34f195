#pragma once

#include "MessageService.h"

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
