#include "import/sheet_file.h"

#include "import/sheet_readers.h"

#include <QFileInfo>

namespace staff_import {

std::unique_ptr<SheetFile> openSheet(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        throw FileError(QStringLiteral("无法读取文件：%1").arg(path));
    const QString suffix = info.suffix().toLower();
    if (suffix == "xlsx")
        return openXlsx(path);
    if (suffix == "xls")
        return openXls(path);
    if (suffix == "csv")
        return openCsv(path);
    throw FileError(QStringLiteral("只能导入 .xlsx、.xls 或 .csv 文件：%1").arg(path));
}

QString cellText(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::Double)
        return QString::number(cell.toDouble(), 'g', 15);
    return cell.toString();
}

}  // namespace staff_import
