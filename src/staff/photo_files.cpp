#include "staff/photo_files.h"

#include "db/app_paths.h"

#include <QDir>
#include <QFileInfo>

namespace staff {

PhotoFolder photoFolder()
{
    PhotoFolder folder;
    const QDir dir(app_paths::pictureDir());
    folder.path = dir.absolutePath();
    folder.exists = dir.exists();
    if (folder.exists)
        folder.files = dir.entryList({"*.bmp", "*.jpg"}, QDir::Files | QDir::Readable,
                                     QDir::Name | QDir::IgnoreCase);
    return folder;
}

QString photoFileToShow(const QString &photoName)
{
    const QString name = QFileInfo(photoName.trimmed()).fileName();
    if (!name.isEmpty()) {
        const QFileInfo photo(QDir(app_paths::pictureDir()).filePath(name));
        if (photo.isFile())
            return photo.absoluteFilePath();
    }
    return app_paths::missingPhotoIconFile();
}

}  // namespace staff
