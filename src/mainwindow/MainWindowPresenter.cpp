// Browsing, the tag view and the clock.
#include "MainWindowPresenter.h"

#include "Clock.h"
#include "FileTexts.h"
#include "Genres.h"
#include "MainTexts.h"
#include "TagFileService.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

QString Child(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? QString(folder + name)
                                             : QString(folder + QLatin1Char('/') + name);
}

FolderTrail PathTo(const QString &folder, const QStringList &subfolders)
{
    FolderTrail path;
    QString current = QStringLiteral("/");
    path.ancestors.append({current, current});
    for (const QString &part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        current = Child(current, part);
        path.ancestors.append({part, current});
    }
    for (const QString &name : subfolders)
        path.subfolders.append({name, Child(current, name)});
    return path;
}

int IndexOfRoot(const QList<Volume> &volumes, const QString &root)
{
    for (int i = 0; i < volumes.size(); ++i) {
        if (volumes.at(i).root == root)
            return i;
    }
    return -1;
}

// A field as the boxes show it: up to its first zero character, without the
// blanks around it.
QString ShownField(const QString &field)
{
    return TrimSpaces(FieldText(field));
}

} // namespace

MainWindowPresenter::MainWindowPresenter(const MainWindowServices &services, MainWindowView &view)
    : services_(services), view_(view)
{
}

void MainWindowPresenter::start()
{
    volumes_ = services_.folders.volumes();
    const QString startRoot = VolumeRootOf(volumes_, services_.startFolder);
    int index = IndexOfRoot(volumes_, startRoot);
    if (index < 0) {
        volumes_.prepend(Volume{startRoot, startRoot});
        index = 0;
    }
    view_.showDrives(volumes_, index);
    // The start folder's tree is shown, its files only once a folder is opened.
    const QString folder = services_.startFolder;
    view_.showFolderPath(PathTo(folder, services_.folders.subfolders(folder)));
    filesFolder_ = folder;
}

void MainWindowPresenter::chooseDrive(int index)
{
    if (index < 0 || index >= volumes_.size())
        return;
    const QString root = volumes_.at(index).root;
    // The drive the program started from brings back the folder it started
    // in; any other drive opens at its root.
    const QString folder =
        root == VolumeRootOf(volumes_, services_.startFolder) ? services_.startFolder : root;
    // A drive that cannot be read (no medium) is passed over without a word.
    if (!services_.folders.canList(folder))
        return;
    changeFolder(folder);
}

void MainWindowPresenter::openFolderEntry(const QString &folder)
{
    changeFolder(folder);
}

void MainWindowPresenter::openFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QDir(services_.startFolder).absoluteFilePath(folder));
    const int drive = IndexOfRoot(volumes_, VolumeRootOf(volumes_, path));
    if (drive >= 0)
        view_.selectDrive(drive);
    changeFolder(path);
}

void MainWindowPresenter::openFile(const QString &path)
{
    const QFileInfo file(QDir(services_.startFolder).absoluteFilePath(path));
    openFolder(file.absolutePath());
    const int row = int(files_.indexOf(file.fileName()));
    if (row < 0)
        return;
    view_.selectFile(row);
    chooseFile(row);
}

void MainWindowPresenter::changeFolder(const QString &folder)
{
    // One look into the folder serves the folder list and the file list. A
    // folder that cannot be listed gives an empty list, never the previous
    // folder's.
    FolderContents contents = services_.folders.contents(folder);
    const FolderTrail path = PathTo(folder, contents.subfolders);
    view_.showFolderPath(path);
    filesFolder_ = path.ancestors.last().path;
    listFiles(std::move(contents.mp3Files));
    view_.showFileCount(QStringLiteral("Files : %1").arg(files_.size()));
}

void MainWindowPresenter::refillList()
{
    listFiles(services_.folders.mp3Files(filesFolder_, nullptr));
}

void MainWindowPresenter::listFiles(QStringList names)
{
    files_ = std::move(names);
    selectedRow_ = -1;
    view_.showFiles(files_);
}

void MainWindowPresenter::chooseFile(int row)
{
    if (row < 0 || row >= files_.size())
        return;
    selectedRow_ = row;
    showFile(filesFolder_, files_.at(row));
}

void MainWindowPresenter::setField(int index, const QString &text)
{
    if (index >= 0 && index < int(fields_.size()))
        fields_[size_t(index)] = text;
}

void MainWindowPresenter::setGenre(const QString &text)
{
    genre_ = text;
}

void MainWindowPresenter::showFile(const QString &folder, const QString &name)
{
    selectedFolder_ =
        folder.endsWith(QLatin1Char('/')) ? folder : QString(folder + QLatin1Char('/'));
    selectedFilePath_ = selectedFolder_ + name;
    view_.showInformation(QLatin1String(FileNamePrefix) + name,
                          QLatin1String(FileDatePrefix) +
                              DateSizeLine(QFileInfo(selectedFilePath_)),
                          QLatin1String(FilePathPrefix) + selectedFilePath_);

    Id3v1Tag tag;
    if (services_.tagFiles.readTag(selectedFilePath_, tag)) {
        tagMarker_ = QStringLiteral("TAG");
        const QString read[5] = {tag.Title, tag.Artist, tag.Album, tag.Year, tag.Comment};
        for (size_t i = 0; i < fields_.size(); ++i)
            fields_[i] = ShownField(read[i]);
        genre_ = GenreName(tag.Genre);
        shownGenreField_ = tag.Genre;
        shownGenreText_ = genre_;
        view_.showSummary({fields_[0], fields_[1], fields_[2], fields_[3], fields_[4], genre_});
        view_.showFields(fields_);
        view_.showGenre(genre_);
    } else {
        // Without a trailer the genre box keeps what it showed.
        tagMarker_.clear();
        fields_ = {QStringLiteral("No ID Version 1.1 Tag Found")};
        shownGenreField_.clear();
        shownGenreText_.clear();
        view_.showSummary({fields_[0]});
        view_.showFields(fields_);
    }
}

void MainWindowPresenter::clearFields()
{
    view_.showSummary({});
    listFiles({});
    view_.showFileCount(QStringLiteral("Files : 0"));
    view_.showInformation(QLatin1String(FileNamePrefix), QLatin1String(FileDatePrefix),
                          QLatin1String(FilePathPrefix));
    fields_ = {};
    view_.showFields(fields_);
    selectedFilePath_.clear();
    selectedFolder_.clear();
}

void MainWindowPresenter::tick()
{
    const QDateTime now = services_.clock.now();
    view_.showClock(ClockText(now.time()));
    if (const auto title = TitleLineText(now, QLocale::system()))
        view_.showTitleLine(*title);
}

ShownTag MainWindowPresenter::shownTag() const
{
    ShownTag shown;
    shown.fileName = files_.value(selectedRow_);
    shown.title = fields_[0];
    shown.artist = fields_[1];
    shown.album = fields_[2];
    shown.year = fields_[3];
    shown.comment = fields_[4];
    shown.genre = genre_;
    shown.selectedFilePath = selectedFilePath_;
    return shown;
}
