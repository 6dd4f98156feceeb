// wenpad-admin: work on a database file without the window.
//   wenpad-admin init --db FILE                              create a new delivered database
//   wenpad-admin demo --db FILE --employees N [--seed S]     fill it with a generated organisation
//   wenpad-admin rebuild TABLE --db FILE --date yyyy-mm-dd [--pdf OUT] [--xlsx OUT]
//                                    rebuild a statistics work table and print it as CSV, rows
//                                    in grid order; with --pdf also write its printed reports,
//                                    with --xlsx the same rows as an Excel workbook
//   wenpad-admin backup --db FILE --to OUT       copy the database to a new backup file OUT
//   wenpad-admin restore --db FILE --from IN     replace the database with the backup IN (checked
//                                    first; the current content is kept as a dated copy beside it)
//   wenpad-admin roster NAME --db FILE --pdf OUT [--dept CODE] [--level CODE --range 以上|等于|以下]
//                [--party CODE]      write the printed roster of screen NAME (Tfrmgbxx,
//                                    Tfrmkjgbxx, Tfrmdyxx) as a PDF file

#include "db/backup.h"
#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "export/xlsx_export.h"
#include "reports/render.h"
#include "staff/roster_report.h"
#include "stats/work_tables.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <QMap>
#include <QSqlQueryModel>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// What follows the command word: plain words, and --name value pairs.
struct Arguments {
    QStringList words;
    QMap<QString, QString> options;
};

Arguments parse(const QStringList &args)
{
    Arguments parsed;
    for (int i = 2; i < args.size(); ++i) {
        if (args[i].startsWith("--") && i + 1 < args.size()) {
            parsed.options[args[i]] = args[i + 1];
            ++i;
        } else
            parsed.words << args[i];
    }
    return parsed;
}

int init(const Arguments &a)
{
    const QString file = a.options.value("--db");
    if (file.isEmpty()) {
        err() << "usage: wenpad-admin init --db FILE\n";
        return 2;
    }
    const database::OpenResult r = database::createDelivered(file);
    if (!r.ok) {
        err() << r.message << '\n';
        return 1;
    }
    QTextStream(stdout) << "created " << file << '\n';
    return 0;
}

// Opens the database at `file` (created as delivered when missing), runs `work` on it and
// reports a refusal of the database; the exit status (`work`'s own when it returns).
int onDatabase(const QString &file, const std::function<int(const QSqlDatabase &)> &work)
{
    const database::OpenResult r = database::open("admin", file);
    if (!r.ok) {
        err() << r.message << '\n';
        return 1;
    }
    int status = 0;
    try {
        status = work(QSqlDatabase::database("admin", false));
    } catch (const sql::Failure &e) {
        err() << '\n' << e.message() << '\n';
        status = 1;
    }
    database::close("admin");
    return status;
}

int demoOrganisation(const Arguments &a)
{
    const QMap<QString, QString> &opts = a.options;
    const QString file = opts.value("--db");
    bool ok = false;
    demo::Options options;
    options.employees = opts.value("--employees").toInt(&ok);
    if (file.isEmpty() || !ok || options.employees <= 0 || options.employees > 999999) {
        err() << "usage: wenpad-admin demo --db FILE --employees N [--seed S]\n";
        return 2;
    }
    options.seed = opts.value("--seed", "1").toULongLong();
    return onDatabase(file, [&](const QSqlDatabase &db) {
        demo::generate(db, options, [](int done) { QTextStream(stdout) << "\r" << done << " employees" << Qt::flush; });
        QTextStream(stdout) << "\n";
        return 0;
    });
}

int rebuild(const Arguments &a)
{
    const QMap<QString, QString> &opts = a.options;
    const auto &tables = stats::workTables();
    const QString table = a.words.value(0);
    const QString file = opts.value("--db");
    const QDate cutoff = QDate::fromString(opts.value("--date"), Qt::ISODate);
    if (!tables.count(table) || file.isEmpty() || !cutoff.isValid()) {
        QStringList names;
        for (const auto &[name, _] : tables)
            names << name;
        err() << "usage: wenpad-admin rebuild <" << names.join('|') << "> --db FILE --date yyyy-mm-dd [--pdf OUT] [--xlsx OUT]\n";
        return 2;
    }
    return onDatabase(file, [&](const QSqlDatabase &db) {
        tables.at(table).rebuild(db, cutoff);
        QTextStream(stdout) << stats::toCsv(db, tables.at(table).gridQuery());
        if (const QString xlsxFile = opts.value("--xlsx"); !xlsxFile.isEmpty()) {
            // The rows of the CSV under the table's name and cut-off.
            QSqlQueryModel rows;
            rows.setQuery(tables.at(table).gridQuery(), db);
            QString error;
            if (!xlsx::write({QStringLiteral("%1 截止日期 %2").arg(table, cutoff.toString(Qt::ISODate)), &rows}, xlsxFile, &error)) {
                err() << error << '\n';
                return 1;
            }
        }
        const QString pdf = opts.value("--pdf");
        if (pdf.isEmpty())
            return 0;
        // The reports one after the other in one file.
        report::Document all;
        for (const report::Document &d : stats::printedReports(db, table, cutoff)) {
            if (all.pages.empty())
                all = d;
            else
                all.pages.insert(all.pages.end(), d.pages.begin(), d.pages.end());
        }
        QString error;
        if (!report::writePdf(all, pdf, &error)) {
            err() << error << '\n';
            return 1;
        }
        return 0;
    });
}

int backUp(const Arguments &a)
{
    const QString file = a.options.value("--db"), target = a.options.value("--to");
    if (file.isEmpty() || target.isEmpty()) {
        err() << "usage: wenpad-admin backup --db FILE --to OUT\n";
        return 2;
    }
    if (!QFileInfo::exists(file)) {
        err() << QStringLiteral("数据库文件不存在：%1").arg(file) << '\n';
        return 1;
    }
    if (QFileInfo::exists(target)) {
        err() << QStringLiteral("备份文件已存在，不会覆盖：%1").arg(target) << '\n';
        return 1;
    }
    return onDatabase(file, [&](const QSqlDatabase &db) {
        const backup::Outcome saved = backup::save(db, target);
        if (!saved.ok) {
            err() << saved.message << '\n';
            return 1;
        }
        QTextStream(stdout) << "backed up " << file << " to " << target << '\n';
        return 0;
    });
}

int restore(const Arguments &a)
{
    const QString file = a.options.value("--db"), source = a.options.value("--from");
    if (file.isEmpty() || source.isEmpty()) {
        err() << "usage: wenpad-admin restore --db FILE --from IN\n";
        return 2;
    }
    // Refused before the database is opened, so a bad backup changes nothing at all.
    if (const backup::Outcome checked = backup::check(source); !checked.ok) {
        err() << checked.message << '\n';
        return 1;
    }
    if (!QFileInfo::exists(file)) {
        err() << QStringLiteral("数据库文件不存在：%1").arg(file) << '\n';
        return 1;
    }
    return onDatabase(file, [&](const QSqlDatabase &db) {
        const backup::Outcome restored = backup::restore(db, source);
        if (!restored.ok) {
            err() << restored.message << '\n';
            return 1;
        }
        QTextStream(stdout) << "restored " << file << " from " << source << "; the previous content is kept in "
                            << restored.keptCopy << '\n';
        return 0;
    });
}

// The item of `items` whose code is `code`; with no code, the item at `fallback`.
std::optional<QString> pick(const QStringList &items, const QString &code, int fallback)
{
    if (code.isEmpty())
        return items.value(std::clamp(fallback, 0, int(items.size()) - 1));
    for (const QString &item : items)
        if (roster::codeOf(item) == code)
            return item;
    return std::nullopt;
}

int printRoster(const Arguments &a)
{
    const roster::Member *member = roster::findMember(a.words.value(0));
    const QString file = a.options.value("--db");
    const QString pdf = a.options.value("--pdf");
    const auto range = roster::levelRangeNamed(a.options.value("--range", QStringLiteral("以上")));
    if (!member || file.isEmpty() || pdf.isEmpty() || !range) {
        err() << "usage: wenpad-admin roster Tfrmgbxx|Tfrmkjgbxx|Tfrmdyxx --db FILE --pdf OUT [--dept CODE]"
                 " [--level CODE --range 以上|等于|以下] [--party CODE]\n";
        return 2;
    }
    if (!QFileInfo::exists(file)) {
        err() << QStringLiteral("数据库文件不存在：%1").arg(file) << '\n';
        return 1;
    }
    const database::OpenResult opened = database::open(database::kSharedConnection, file);
    if (!opened.ok) {
        err() << opened.message << '\n';
        return 1;
    }
    const QSqlDatabase db = database::shared();
    try {
        // Unset filters start where the screen starts.
        roster::Filter filter;
        filter.department = a.options.value("--dept");
        filter.range = *range;
        const QStringList levels = roster::levelItems(db, *member);
        const auto level = pick(levels, a.options.value("--level"), member->startAtLastLevel ? int(levels.size()) - 1 : 0);
        if (!level) {
            err() << QStringLiteral("没有这个级别：%1").arg(a.options.value("--level")) << '\n';
            return 1;
        }
        filter.level = roster::codeOf(*level);
        QString partyItem;
        if (member->partyFilter) {
            const auto party = pick(roster::partyItems(db), a.options.value("--party"), 1);
            if (!party) {
                err() << QStringLiteral("没有这个党派：%1").arg(a.options.value("--party")) << '\n';
                return 1;
            }
            partyItem = *party;
            filter.party = roster::codeOf(partyItem);
            if (filter.party == QStringLiteral("00")) {
                err() << QStringLiteral("党派编码为00时不打印党员花名册。") << '\n';
                return 1;
            }
        }
        const QList<QVariantList> rows = roster::read(db, *member, filter);
        const report::Document document = roster::layoutRoster(member->reportClass, roster::printedTitle(*member, partyItem), rows);
        QString error;
        if (!report::writePdf(document, pdf, &error)) {
            err() << error << '\n';
            return 1;
        }
        QTextStream(stdout) << QStringLiteral("wrote %1: %2 rows on %3 pages\n").arg(pdf).arg(rows.size()).arg(document.pages.size());
    } catch (const sql::Failure &failure) {
        err() << failure.message() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    // Reports measure and draw text, which needs a GUI application; without a display it runs
    // offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QMap<QString, std::function<int(const Arguments &)>> commands = {
        {"init", init},
        {"demo", demoOrganisation},
        {"rebuild", rebuild},
        {"roster", printRoster},
        {"backup", backUp},
        {"restore", restore},
    };
    if (args.size() < 2 || !commands.contains(args[1])) {
        err() << "usage: wenpad-admin <" << QStringList(commands.keys()).join('|') << "> [options]\n";
        return 2;
    }
    return commands[args[1]](parse(args));
}
