#pragma once
// Files the program keeps beside itself. Tests point the program folder at a temporary one.

#include <QString>

namespace app_paths {

QString programDir();
void setProgramDir(const QString &dir);  // tests; empty restores the executable's folder

QString databaseFile();    // database/wenpad.db, absolute
QString pictureDir();      // picture/
QString promptIconFile();  // MSGBOX02.ico, shown by prompts with "忽略"
QString missingPhotoIconFile();  // msgbox02.ico, shown when a photo file is missing

}  // namespace app_paths
