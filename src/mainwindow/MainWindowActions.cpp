// What the buttons and menu items do: update, rename, the button bar,
// playing a file and the software page.
#include "MainWindowPresenter.h"

#include "Genres.h"
#include "MainTexts.h"
#include "MessageService.h"
#include "ShellLauncher.h"
#include "TagFileService.h"

#include <QFileInfo>

void MainWindowPresenter::update()
{
    if (TrimSpaces(fields_[0]).isEmpty())
        return;
    // After "Velden leeg" there is no file to write to.
    if (selectedFilePath_.isEmpty())
        return;
    MessageRequest question;
    question.text = QStringLiteral("Weet je zeker dat je deze tags wilt wijzigen?");
    question.caption = QStringLiteral("Update");
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::Yes;
    if (services_.messages.show(owner_, question) != MessageAnswer::Yes)
        return;

    // The path and the texts are taken after the question, as they stand.
    const QString path = selectedFilePath_;
    const QString folder = selectedFolder_;
    Id3v1Tag tag;
    AssignField(tag.Header, tagMarker_, Id3v1Tag::HeaderWidth);
    AssignField(tag.Title, fields_[0], Id3v1Tag::TitleWidth);
    AssignField(tag.Artist, fields_[1], Id3v1Tag::ArtistWidth);
    AssignField(tag.Album, fields_[2], Id3v1Tag::AlbumWidth);
    AssignField(tag.Year, fields_[3], Id3v1Tag::YearWidth);
    AssignField(tag.Comment, fields_[4], Id3v1Tag::CommentWidth);
    // A genre byte without a name, left as the view showed it, stays that
    // byte: the user did not choose "Other".
    tag.Genre = (!shownGenreField_.isEmpty() && genre_ == shownGenreText_) ? shownGenreField_
                                                                           : GenreCode(genre_);

    if (!services_.tagFiles.writeTag(path, tag)) {
        MessageRequest failure;
        failure.text = QStringLiteral("Fout bij het opslaan...");
        services_.messages.show(owner_, failure);
    }
    // The view is rebuilt from the file written, whatever the list shows now.
    showFile(folder, QFileInfo(path).fileName());
}

void MainWindowPresenter::rename(RenameOrder order)
{
    const QString newName = NewFileName(fields_[0], fields_[1], order);
    if (newName.isEmpty()) {
        MessageRequest error;
        error.text = QStringLiteral("Titel en/of artiest niet ingevuld!");
        error.caption = QStringLiteral("Error");
        error.icon = MessageIcon::Critical;
        services_.messages.show(owner_, error);
        return;
    }
    // A failed rename is not reported; the list is rebuilt in every case.
    if (selectedRow_ >= 0 && !selectedFolder_.isEmpty())
        services_.tagFiles.rename(selectedFolder_, files_.at(selectedRow_), newName);
    refillList();
}

void MainWindowPresenter::setButtonAction(Button button, std::function<void()> action)
{
    buttonActions_[size_t(button)] = std::move(action);
}

void MainWindowPresenter::press(Button button)
{
    const auto &action = buttonActions_[size_t(button)];
    switch (button) {
    case Button::ClearFields:
        clearFields();
        break;
    case Button::Print:
        // Nothing to print while the list is empty.
        if (!files_.isEmpty() && action)
            action();
        break;
    case Button::Software:
        openSoftwarePage();
        break;
    default:
        if (action)
            action();
        break;
    }
}

void MainWindowPresenter::play()
{
    services_.shell.open(selectedFolder_ + files_.value(selectedRow_));
}

void MainWindowPresenter::openSoftwarePage()
{
    services_.shell.open(SoftwarePageUrl());
}
