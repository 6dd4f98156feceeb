#include "import/import_run.h"

#include "db/transaction.h"

namespace staff_import {
namespace {

// Reads the rows after the header, checks each and hands it on; the counts of the verdicts.
Counts eachRow(const QSqlDatabase &db, const QString &path, const Mapping &mapping, Existing existing,
               const Progress &progress,
               const std::function<void(const Verdict &, const staff::EmployeeRecord &)> &take)
{
    const std::unique_ptr<SheetFile> sheet = openSheet(path);
    if (!sheet->next())
        throw FileError(QStringLiteral("文件中没有任何内容：%1").arg(path));
    const CodeBook codes(db);
    RowChecker checker(db, codes, mapping, existing);
    Counts counts;
    staff::EmployeeRecord record;
    for (int n = 0;; ++n) {
        if (progress && n % 256 == 0 && !progress(sheet->fraction()))
            throw Cancelled{};
        const std::optional<SheetRow> row = sheet->next();
        if (!row)
            break;
        const Verdict verdict = checker.check(*row, &record);
        ++(verdict.action == Action::Add      ? counts.added
           : verdict.action == Action::Update ? counts.updated
           : verdict.action == Action::Skip   ? counts.skipped
                                              : counts.refused);
        counts.fingerprint = counts.fingerprint * 1099511628211ULL + quint64(verdict.line) * 4 + quint64(verdict.action);
        take(verdict, record);
    }
    if (progress && !progress(1.0))
        throw Cancelled{};
    return counts;
}

}  // namespace

QString Counts::text(bool dryRun) const
{
    if (dryRun)
        return QStringLiteral("可导入 %1 行（其中更新 %2 行），跳过 %3 行，拒绝 %4 行（试运行，未写入）")
            .arg(accepted()).arg(updated).arg(skipped).arg(refused);
    return QStringLiteral("导入 %1 行（其中更新 %2 行），跳过 %3 行，拒绝 %4 行")
        .arg(accepted()).arg(updated).arg(skipped).arg(refused);
}

QStringList readHeaders(const QString &path)
{
    const std::optional<SheetRow> header = openSheet(path)->next();
    if (!header)
        throw FileError(QStringLiteral("文件中没有任何内容：%1").arg(path));
    QStringList titles;
    for (const QVariant &cell : header->cells)
        titles << cellText(cell).trimmed();
    return titles;
}

Counts checkFile(const QSqlDatabase &db, const QString &path, const Mapping &mapping, Existing existing,
                 const std::function<void(const Verdict &)> &verdicts, const Progress &progress)
{
    return eachRow(db, path, mapping, existing, progress,
                   [&](const Verdict &verdict, const staff::EmployeeRecord &) { verdicts(verdict); });
}

Counts importFile(const QSqlDatabase &db, const QString &path, const Mapping &mapping, Existing existing,
                  const Counts &checked, const Progress &progress)
{
    Transaction transaction(db);
    edit::RowWriter writer(db);
    const Counts written = eachRow(db, path, mapping, existing, progress,
                                   [&](const Verdict &verdict, const staff::EmployeeRecord &record) {
                                       if (verdict.accepted())
                                           staff::writeEmployee(writer, record, verdict.action == Action::Add);
                                   });
    if (!(written == checked))
        throw FileError(QStringLiteral("检查之后文件或花名册已改变，未导入任何职工，请重新检查。"));
    transaction.commit();
    return written;
}

}  // namespace staff_import
