#pragma once

#include <QImage>

// The program's own pictures, drawn as SVG in images/, kept there as PNG and
// built into the program as ready pixels: the five buttons of the button bar
// (index 0 to 4, 48 x 48), the welcome drawing (417 x 376) and the two folder
// icons of the folder list (16 x 16).
QImage ButtonPicture(int index);
QImage WelcomePicture();
QImage FolderPicture(bool open);
