#include "DesktopServices.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice {
    MessageAnswer answer;
    QMessageBox::StandardButton button;
};

QList<ButtonChoice> Choices(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return {{MessageAnswer::Yes, QMessageBox::Yes}, {MessageAnswer::No, QMessageBox::No}};
    case MessageButtons::RetrySkipCancel:
        return {{MessageAnswer::Retry, QMessageBox::Retry},
                {MessageAnswer::Skip, QMessageBox::Ignore},
                {MessageAnswer::Cancel, QMessageBox::Cancel}};
    case MessageButtons::Ok:
        break;
    }
    return {{MessageAnswer::Ok, QMessageBox::Ok}};
}

} // namespace

MessageAnswer QtMessageService::show(QWidget *owner, const MessageRequest &request)
{
    const QString caption = request.caption.isEmpty() ? QStringLiteral("Brelko") : request.caption;
    QMessageBox box(BoxIcon(request.icon), caption, request.text, QMessageBox::NoButton, owner);
    const QList<ButtonChoice> choices = Choices(request.buttons);
    for (const ButtonChoice &choice : choices) {
        QPushButton *button = box.addButton(choice.button);
        if (choice.button == QMessageBox::Ignore)
            button->setText(QStringLiteral("Skip"));
        if (choice.answer == request.defaultAnswer)
            box.setDefaultButton(button);
    }
    const auto clicked = QMessageBox::StandardButton(box.exec());
    for (const ButtonChoice &choice : choices) {
        if (choice.button == clicked)
            return choice.answer;
    }
    // Escape or the close box: the last button, which is the "no" of each set.
    return choices.last().answer;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

QUrl ShellTargetUrl(const QString &target)
{
    const QUrl url(target, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1 &&
        target.startsWith(url.scheme() + QStringLiteral("://")))
        return url;
    return QUrl::fromLocalFile(target);
}

void DesktopShellLauncher::open(const QString &target)
{
    if (target.isEmpty())
        return;
    QDesktopServices::openUrl(ShellTargetUrl(target));
}
