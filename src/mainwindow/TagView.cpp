// Showing the chosen file: its information lines, its tag in the boxes and
// the summary drawn in the picture box.
#include "MainWindow.h"

#include "Controls.h"
#include "Genres.h"
#include "Id3v1Tag.h"
#include "MainTexts.h"
#include "PictureBox.h"
#include "TagFile.h"
#include "TagRename.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const char *const SummaryCaptions[6] = {"Titel...... ", "Artiest... ",  "Album... ",
                                        "Jaar...... ",  "Info....... ", "Genre... "};

int SummaryRow(int i)
{
    return 10 + 20 * i;
}

// A field as the boxes show it: up to its first zero character, without the
// blanks around it.
QString ShownField(const QString &field)
{
    return TrimSpaces(FieldText(field));
}

} // namespace

void MainWindow::prepareSummary()
{
    pic_->wipe(Qt::black);
    pic_->setForeColour(Qt::white);
    pic_->setFontSize(10);
    pic_->setBold(false);
    for (int i = 0; i < 6; ++i)
        pic_->print(10, SummaryRow(i), QString::fromLatin1(SummaryCaptions[i]));
    for (int i = 0; i < 6; ++i)
        pic_->print(60, SummaryRow(i), QStringLiteral(":"));
}

void MainWindow::fileChosen(int row)
{
    if (row < 0 || row >= files_.size())
        return;
    showFile(filesFolder_, files_.at(row));
}

void MainWindow::showFile(const QString &folder, const QString &name)
{
    selectedFolder_ =
        folder.endsWith(QLatin1Char('/')) ? folder : QString(folder + QLatin1Char('/'));
    selectedFilePath_ = selectedFolder_ + name;
    SetCaption(label3_, QLatin1String(FileNamePrefix) + name);
    SetCaption(label4_, QLatin1String(FileDatePrefix) + DateSizeLine(QFileInfo(selectedFilePath_)));
    SetCaption(label5_, QLatin1String(FilePathPrefix) + selectedFilePath_);

    prepareSummary();
    Id3v1Tag tag;
    if (ReadTag(selectedFilePath_, tag)) {
        tagMarker_ = QStringLiteral("TAG");
        const QString fields[5] = {tag.Title, tag.Artist, tag.Album, tag.Year, tag.Comment};
        for (int i = 0; i < 5; ++i) {
            const QString text = ShownField(fields[i]);
            pic_->print(70, SummaryRow(i), text);
            texts_[size_t(i)]->setText(text);
        }
        const QString genre = GenreName(tag.Genre);
        pic_->print(70, SummaryRow(5), genre);
        combo1_->setEditText(genre);
        shownGenreField_ = tag.Genre;
        shownGenreText_ = genre;
    } else {
        // Without a trailer the genre box keeps what it showed.
        tagMarker_.clear();
        const QString none = QStringLiteral("No ID Version 1.1 Tag Found");
        pic_->print(70, SummaryRow(0), none);
        texts_[0]->setText(none);
        for (size_t i = 1; i < texts_.size(); ++i)
            texts_[i]->clear();
        shownGenreField_.clear();
        shownGenreText_.clear();
    }
    pic_->setBold(true);
    pic_->setFontSize(50);
    pic_->setForeColour(QColor(40, 40, 40));
    pic_->print(10, 300, QStringLiteral("Info"));
}
