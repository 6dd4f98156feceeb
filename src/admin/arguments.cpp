#include "admin/arguments.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace admin {

namespace {

// The value of one option converted by its kind, or a refusal.
std::optional<QVariant> convert(const Option &option, const QString &value, Refusal *refusal)
{
    QString *error = &refusal->message;
    static const QRegularExpression wholeNumber(QStringLiteral("^[0-9]{1,18}$"));
    switch (option.kind) {
    case Kind::Database:
        if (!QFileInfo(value).isFile()) {
            *error = QStringLiteral("数据库文件不存在：%1").arg(value);
            refusal->status = 1;
            return std::nullopt;
        }
        return value;
    case Kind::NewDatabase:
        if (QFileInfo::exists(value)) {
            *error = QStringLiteral("文件已存在，不会覆盖：%1").arg(value);
            refusal->status = 1;
            return std::nullopt;
        }
        // A mistyped folder is refused rather than created.
        if (!QFileInfo(QFileInfo(value).absolutePath()).isDir()) {
            *error = QStringLiteral("文件夹不存在：%1").arg(QFileInfo(value).absolutePath());
            refusal->status = 1;
            return std::nullopt;
        }
        return value;
    case Kind::File:
    case Kind::Text:
        if (value.trimmed().isEmpty()) {
            *error = QStringLiteral("选项 %1 的值为空").arg(option.name);
            return std::nullopt;
        }
        return value;
    case Kind::Date: {
        static const QRegularExpression shape(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
        const QDate date = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
        if (!shape.match(value).hasMatch() || !date.isValid()) {
            *error = QStringLiteral("选项 %1 的日期无效：%2（应为 yyyy-MM-dd 格式的真实日期）").arg(option.name, value);
            return std::nullopt;
        }
        return date;
    }
    case Kind::Count: {
        const int n = wholeNumber.match(value).hasMatch() ? value.toInt() : 0;
        if (n < 1 || n > 999999) {
            *error = QStringLiteral("选项 %1 应为 1 到 999999 的整数：%2").arg(option.name, value);
            return std::nullopt;
        }
        return n;
    }
    case Kind::Month: {
        static const QRegularExpression shape(QStringLiteral("^[0-9]{4}-[0-9]{2}$"));
        const QDate first = QDate::fromString(value + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
        if (!shape.match(value).hasMatch() || !first.isValid()) {
            *error = QStringLiteral("选项 %1 的月份无效：%2（应为 yyyy-MM）").arg(option.name, value);
            return std::nullopt;
        }
        return first;
    }
    case Kind::Year: {
        const int year = wholeNumber.match(value).hasMatch() ? value.toInt() : 0;
        if (year < 1980 || year > 9999) {
            *error = QStringLiteral("选项 %1 应为 1980 到 9999 的年份：%2").arg(option.name, value);
            return std::nullopt;
        }
        return year;
    }
    case Kind::Seed:
        if (!wholeNumber.match(value).hasMatch()) {
            *error = QStringLiteral("选项 %1 应为不小于 0 的整数：%2").arg(option.name, value);
            return std::nullopt;
        }
        return value.toULongLong();
    case Kind::Flag:
        return true;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Parsed> parse(const QStringList &args, const QList<Option> &options, int words, Refusal *refusal)
{
    QString *error = &refusal->message;
    Parsed parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QStringLiteral("--"))) {
            parsed.words << arg;
            continue;
        }
        const auto option = std::find_if(options.begin(), options.end(), [&](const Option &o) { return o.name == arg; });
        if (option == options.end()) {
            *error = QStringLiteral("未知选项：%1").arg(arg);
            return std::nullopt;
        }
        if (parsed.values.contains(arg)) {
            *error = QStringLiteral("选项 %1 重复").arg(arg);
            return std::nullopt;
        }
        if (option->kind == Kind::Flag) {
            parsed.values[arg] = true;
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].startsWith(QStringLiteral("--"))) {
            *error = QStringLiteral("选项 %1 缺少值").arg(arg);
            return std::nullopt;
        }
        const auto value = convert(*option, args[++i], refusal);
        if (!value)
            return std::nullopt;
        parsed.values[arg] = *value;
    }
    if (parsed.words.size() != words) {
        *error = parsed.words.size() > words ? QStringLiteral("多余的参数：%1").arg(parsed.words.value(words))
                                             : QStringLiteral("缺少名称参数");
        return std::nullopt;
    }
    for (const Option &o : options)
        if (o.required && !parsed.values.contains(o.name)) {
            *error = QStringLiteral("缺少选项 %1").arg(o.name);
            return std::nullopt;
        }
    if (parsed.has("--from") && parsed.has("--to") && parsed.date("--from") > parsed.date("--to")) {
        *error = QStringLiteral("起始日期不能晚于截止日期：--from %1 --to %2")
                     .arg(parsed.date("--from").toString(Qt::ISODate), parsed.date("--to").toString(Qt::ISODate));
        return std::nullopt;
    }
    return parsed;
}

}  // namespace admin
