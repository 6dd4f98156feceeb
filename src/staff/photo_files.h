#pragma once
// Employee photos: files of the folder picture/ beside the program, named in zghmc.照片.

#include <QString>
#include <QStringList>

namespace staff {

struct PhotoFolder {
    QString path;       // the folder, absolute
    bool exists = false;
    QStringList files;  // *.bmp and *.jpg (any case), plain files, sorted by name
};

PhotoFolder photoFolder();

// The file to show for a photo name: the photo when it exists in picture/, otherwise the
// missing-photo icon. Only the name part is used, so a stored name never leaves the folder.
QString photoFileToShow(const QString &photoName);

}  // namespace staff
