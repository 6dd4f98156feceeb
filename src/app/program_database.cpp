#include "app/program_database.h"

#include "app/navigation.h"
#include "app/notify.h"
#include "db/address.h"
#include "db/private_files.h"

#include <QDir>
#include <QFileInfo>

namespace program_database {

Opened open(QWidget *parent, const QString &file)
{
    Opened opened;
    if (!database::isServerAddress(file) && !QFileInfo::exists(file)
        && !notify::ask(parent, navigation_texts::kProductTitle,
                        QStringLiteral("数据库文件不存在：%1\n是否新建一个空数据库？").arg(QDir::toNativeSeparators(file)))) {
        opened.declined = true;
        return opened;
    }
    opened.result = database::open(database::kSharedConnection, file);
    // Pay, appraisals and family members: told once at each start while others can read them.
    if (opened.result.ok && !private_files::readableByOthers(file).isEmpty()
        && notify::ask(parent, navigation_texts::kProductTitle, private_files::kWarning.arg(QDir::toNativeSeparators(file)))
        && !private_files::restrictDatabase(file))
        notify::show(parent, notify::Kind::Error, navigation_texts::kProductTitle,
                     QStringLiteral("无法更改数据库文件的权限：%1").arg(QDir::toNativeSeparators(file)));
    return opened;
}

}  // namespace program_database
