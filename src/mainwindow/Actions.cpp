// What the buttons and menu items do: update, rename, the button bar,
// playing a file and the software page.
#include "MainWindow.h"

#include "Controls.h"
#include "Genres.h"
#include "ImageButton.h"
#include "MainTexts.h"
#include "MessageService.h"
#include "Mp3ListView.h"
#include "Pauser.h"
#include "ShellLauncher.h"
#include "TagFileService.h"
#include "TagRename.h"
#include "Twips.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringListModel>

void MainWindow::updateClicked()
{
    if (TrimSpaces(texts_[0]->text()).isEmpty())
        return;
    // After "Velden leeg" there is no file to write to.
    if (selectedFilePath_.isEmpty())
        return;
    MessageRequest question;
    question.text = QStringLiteral("Weet je zeker dat je deze tags wilt wijzigen?");
    question.caption = QStringLiteral("Update");
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::Yes;
    if (services_.messages.show(this, question) != MessageAnswer::Yes)
        return;

    // The path and the texts are taken after the question, as they stand.
    const QString path = selectedFilePath_;
    const QString folder = selectedFolder_;
    Id3v1Tag tag;
    AssignField(tag.Header, tagMarker_, Id3v1Tag::HeaderWidth);
    AssignField(tag.Title, texts_[0]->text(), Id3v1Tag::TitleWidth);
    AssignField(tag.Artist, texts_[1]->text(), Id3v1Tag::ArtistWidth);
    AssignField(tag.Album, texts_[2]->text(), Id3v1Tag::AlbumWidth);
    AssignField(tag.Year, texts_[3]->text(), Id3v1Tag::YearWidth);
    AssignField(tag.Comment, texts_[4]->text(), Id3v1Tag::CommentWidth);
    // A genre byte without a name, left as the view showed it, stays that
    // byte: the user did not choose "Other".
    const QString genre = combo1_->currentText();
    tag.Genre = (!shownGenreField_.isEmpty() && genre == shownGenreText_) ? shownGenreField_
                                                                          : GenreCode(genre);

    if (!services_.tagFiles.writeTag(path, tag)) {
        MessageRequest failure;
        failure.text = QStringLiteral("Fout bij het opslaan...");
        services_.messages.show(this, failure);
    }
    // The view is rebuilt from the file written, whatever the list shows now.
    showFile(folder, QFileInfo(path).fileName());
}

void MainWindow::renameClicked(int order)
{
    const QString newName = NewFileName(texts_[0]->text(), texts_[1]->text(), RenameOrder(order));
    if (newName.isEmpty()) {
        MessageRequest error;
        error.text = QStringLiteral("Titel en/of artiest niet ingevuld!");
        error.caption = QStringLiteral("Error");
        error.icon = MessageIcon::Critical;
        services_.messages.show(this, error);
        return;
    }
    // A failed rename is not reported; the list is rebuilt in every case.
    const int row = list1_->selectedRow();
    if (row >= 0 && row < files_.size() && !selectedFolder_.isEmpty())
        services_.tagFiles.rename(selectedFolder_, files_.at(row), newName);
    refillList();
}

void MainWindow::buttonClicked(int index)
{
    ImageButton *knop = knop_[size_t(index)];
    // Each click puts its own button back where it found it, whatever other
    // clicks do while this one waits.
    const int left = knop->x();
    knop->move(left + Px(30), Px(135));
    services_.pauser.pause(0.2f);
    knop->move(left, Px(105));

    const auto &action = buttonActions_[size_t(index)];
    switch (index) {
    case 0:
        clearFields();
        break;
    case 3:
        if (listModel_->rowCount() > 0 && action)
            action();
        break;
    case 4:
        openSoftwarePage();
        break;
    default:
        if (action)
            action();
        break;
    }
}

void MainWindow::play()
{
    const int row = list1_->selectedRow();
    const QString entry = row >= 0 ? listModel_->stringList().value(row) : QString();
    services_.shell.open(selectedFolder_ + entry);
}

void MainWindow::openSoftwarePage()
{
    services_.shell.open(SoftwarePageUrl());
}
