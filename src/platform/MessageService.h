#pragma once

#include <QString>

class QWidget;

enum class MessageIcon { None, Critical, Exclamation, Question, Information };
enum class MessageButtons { Ok, YesNo, RetrySkipCancel };
enum class MessageAnswer { Ok, Yes, No, Retry, Skip, Cancel };

// One message box: its text, caption, buttons, icon and the button that
// Enter presses. A caption left empty shows the program title.
struct MessageRequest {
    QString text;
    QString caption = QStringLiteral("Brelko");
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

// Shows a modal message box and returns the button the user chose.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer show(QWidget *owner, const MessageRequest &request) = 0;
};
