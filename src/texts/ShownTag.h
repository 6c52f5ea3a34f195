#pragma once

#include <QString>

// A tag as the main window shows it: the chosen file's name, the texts in
// the boxes as they stand, and the file's full path. The printed report is
// made from it.
struct ShownTag {
    QString fileName, title, artist, album, year, comment, genre, selectedFilePath;
};
