// wenpad-admin: work on a database file without the window. Options are strict (see
// arguments.h); every command but init needs an existing database file.
//   wenpad-admin [COMMAND] --help                           the usage of every command, or of one
//   wenpad-admin init --db FILE                              create a new delivered database
//   wenpad-admin demo --db FILE --employees N [--seed S]     fill it with a generated organisation
//   wenpad-admin rebuild TABLE --db FILE --date yyyy-MM-dd [--pdf OUT] [--xlsx OUT]
//   wenpad-admin rebuild TABLE --db FILE --from yyyy-MM-dd --to yyyy-MM-dd [--pdf OUT] [--xlsx OUT]
//                                    rebuild a statistics work table for its cut-off date, or for
//                                    a range (pxcjzbtjb, pxjnzbtjb), and print it as CSV, rows
//                                    in grid order; with --pdf also write its printed reports,
//                                    with --xlsx the grid as the screen shows it as a workbook
//   wenpad-admin rebuild gzdtjlb --db FILE --employee CODE
//                                    rebuild one employee's timeline and print it as CSV
//   wenpad-admin rebuild gskqtjb --db FILE --from yyyy-MM-dd --to yyyy-MM-dd [--pdf OUT]
//                                    rebuild the company attendance table for the range and
//                                    print it as CSV; with --pdf also as its screen prints it
//   wenpad-admin grid SCREEN --db FILE [--month yyyy-MM] [--year yyyy] [--dept CODE]
//                [--employee CODE] [--from yyyy-MM-dd --to yyyy-MM-dd] [--xlsx OUT]
//                                    the grids of a read-only screen as CSV, each after its caption;
//                                    with --xlsx also as a workbook, one sheet per grid
//   wenpad-admin roster NAME --db FILE --pdf OUT [--dept CODE] [--level CODE --range 以上|等于|以下]
//                [--party CODE]      write the printed roster of screen NAME (Tfrmgbxx,
//                                    Tfrmkjgbxx, Tfrmdyxx) as a PDF file
//   wenpad-admin resume CODE --db FILE --pdf OUT     write the printed résumé of cadre CODE as a PDF file
//   wenpad-admin backup --db FILE --to OUT       copy the database to a new backup file OUT
//   wenpad-admin copy --from SOURCE --to TARGET  copy every table of SOURCE into TARGET (either a
//                                    file or a postgresql:// address; a file made when missing;
//                                    refused when it holds data) in one transaction, then the row
//                                    count of every table on both sides
//   wenpad-admin restore --db FILE --from IN     replace the database with the backup IN (checked
//                                    first; the current content is kept as a dated copy beside it,
//                                    for a server's database in the program's database folder)
//   wenpad-admin import --db FILE --from LIST [--dry-run] [--existing skip|update]
//                                    import a staff list (.xlsx, .xls, .csv): a line per row not
//                                    imported, then the counts
//   wenpad-admin export --db FILE --to OUT.xlsx|OUT.csv   the register in the import template's columns
//   wenpad-admin operator add NAME --role ROLE --db FILE   add an operator; the password is
//                                    read from standard input (one line)
//   wenpad-admin log --db FILE [--employee CODE] [--from yyyy-MM-dd] [--to yyyy-MM-dd]
//                                    the change log as CSV, newest first
// Every file the tool writes is readable by its owner only; its writes are logged as
// "wenpad-admin".

#include "admin/arguments.h"
#include "db/address.h"
#include "db/backup.h"
#include "db/change_log.h"
#include "db/operators.h"
#include "db/private_files.h"
#include "db/rights.h"
#include "db/clock.h"
#include "db/database.h"
#include "db/history.h"
#include "db/office_copy.h"
#include "db/server_database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "export/xlsx_export.h"
#include "import/import_run.h"
#include "import/register_file.h"
#include "pay/appraisal_list.h"
#include "pay/appraisal_statistics.h"
#include "pay/pay_comparison.h"
#include "pay/pay_grids.h"
#include "records/company_attendance.h"
#include "pay/salary_query.h"
#include "records/personnel_query.h"
#include "records/record_card.h"
#include "records/timeline.h"
#include "records/training.h"
#include "reports/grid_report.h"
#include "reports/layout.h"
#include "reports/render.h"
#include "records/employee_search.h"
#include "staff/resume_report.h"
#include "staff/roster_report.h"
#include "stats/statistics_reports.h"
#include "stats/statistics_table.h"
#include "export/csv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStandardItemModel>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// A refusal on the console: the Chinese message, then the database's own words behind it.
void tell(const QString &message, const QString &details)
{
    err() << message << '\n';
    if (!details.isEmpty())
        err() << details << '\n';
}

int init(const admin::Parsed &a)
{
    const QString file = a.text("--db");
    const database::OpenResult r = database::createDelivered(file);
    if (!r.ok) {
        tell(r.message, r.details);
        return 1;
    }
    QTextStream(stdout) << "created " << file << '\n';
    return 0;
}

// False (the refusal told) when the database did not open; an upgraded file's kept copy is told.
bool toldOpening(const database::OpenResult &r)
{
    if (!r.ok)
        tell(r.message, r.details);
    else if (!r.keptCopy.isEmpty())
        err() << QStringLiteral("数据库已升级到本版本，升级前的数据库另存为：%1").arg(r.keptCopy) << '\n';
    return r.ok;
}

// Opens the database at `file` (created as delivered when missing), runs `work` on it and
// reports a refusal of the database; the exit status (`work`'s own when it returns).
int onDatabase(const QString &file, const std::function<int(const QSqlDatabase &)> &work)
{
    if (!toldOpening(database::open("admin", file)))
        return 1;
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

// The rows of the five dated histories.
qlonglong historyRows(const QSqlDatabase &db)
{
    qlonglong rows = 0;
    for (history::Table t : {history::Table::Department, history::Table::Position, history::Table::Title,
                             history::Table::SkillGrade, history::Table::GradeSalary})
        rows += sql::scalar(db, QStringLiteral("SELECT count(*) FROM %1").arg(history::tableName(t))).toLongLong();
    return rows;
}

int demoOrganisation(const admin::Parsed &a)
{
    demo::Options options;
    options.employees = a.values.value("--employees").toInt();
    options.seed = a.values.value("--seed", 1).toULongLong();
    // The organisation's "now" is today, so the pay screens (which open on this month) and the
    // appraisal screens show the generated months and years.
    options.anchor = clock_source::today();
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        // Generated codes start at 000001: into a register that has employees they would clash.
        if (sql::scalar(db, QStringLiteral("SELECT count(*) FROM zghmc")).toLongLong() > 0) {
            err() << QStringLiteral("数据库中已有职工，演示数据只能写入新建的数据库。") << '\n';
            return 1;
        }
        QElapsedTimer clock;
        clock.start();
        QTextStream out(stdout);
        demo::generate(db, options, [&](int done) { out << done << " employees\n" << Qt::flush; });
        out << QStringLiteral("%1 employees, %2 history rows in %3 s\n")
                   .arg(options.employees).arg(historyRows(db)).arg(clock.elapsed() / 1000.0, 0, 'f', 1);
        return 0;
    });
}

// One employee's timeline, built as the timeline screen builds it, as the grid shows it.
int rebuildTimeline(const admin::Parsed &a)
{
    const QString employee = a.text("--employee");
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        if (!records::employeeName(db, employee)) {
            err() << QStringLiteral("没有这个职工：%1").arg(employee) << '\n';
            return 1;
        }
        records::rebuildTimeline(db, employee);
        QSqlQuery rows = records::timelineRows(db, employee);
        QTextStream(stdout) << stats::toCsv(rows);
        return 0;
    });
}

// A statistics table counts up to a cut-off (--date) or over a range (--from and --to); the
// dates of the other kind are refused.
QString periodRefusal(const admin::Parsed &a)
{
    const stats::TableDescription &table = *stats::findStatisticsTable(a.words.value(0));
    if (table.overRange && (a.has("--date") || !a.has("--from") || !a.has("--to")))
        return QStringLiteral("%1 按日期范围统计：需要 --from yyyy-MM-dd 和 --to yyyy-MM-dd，不接受 --date").arg(table.name);
    if (!table.overRange && (!a.has("--date") || a.has("--from") || a.has("--to")))
        return QStringLiteral("%1 按截止日期统计：需要 --date yyyy-MM-dd，不接受 --from 和 --to").arg(table.name);
    return {};
}

// The company attendance table, built as its screen builds it, as the grid shows it.
int rebuildCompanyAttendance(const admin::Parsed &a)
{
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        const QDate from = a.date("--from"), to = a.date("--to");
        records::rebuildCompanyAttendance(db, from, to);
        const QStringList titles = records::companyAttendanceTitles(db);
        QSqlQuery table = sql::prepare(db, records::companyAttendanceQuery(db));
        table.setForwardOnly(true);
        sql::exec(table);
        QTextStream(stdout) << stats::toCsv(table, titles);
        table.finish();
        if (!a.has("--pdf"))
            return 0;
        QSqlQueryModel rows;
        rows.setQuery(records::companyAttendanceQuery(db), db);
        for (int c = 0; c < titles.size(); ++c) {
            rows.setHeaderData(c, Qt::Horizontal, titles[c]);
            rows.setHeaderData(c, Qt::Horizontal, c >= 2, xlsx::kMeasuredColumnRole);  // hours as stored
        }
        const report::Document printed = report::layoutGrid(
            "Tfrmgskqtjb", QStringLiteral("公司考勤情况统计"), report::dateRangeText(from, to), rows);
        QString error;
        if (!report::writePdf(printed, a.text("--pdf"), &error)) {
            err() << error << '\n';
            return 1;
        }
        return 0;
    });
}

int rebuild(const admin::Parsed &a)
{
    const stats::TableDescription &table = *stats::findStatisticsTable(a.words.value(0));
    const stats::Period period = table.overRange ? stats::Period(a.date("--from"), a.date("--to")) : stats::Period(a.date("--date"));
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        const std::vector<stats::WorkColumn> columns = table.gridColumns();
        QStringList fields;
        for (const stats::WorkColumn &c : columns)
            fields << c.key;
        QString csv;
        QSqlQueryModel rows;
        std::vector<report::Document> reports;
        // Everything printed is read in the rebuild's transaction: a program rebuilding the
        // table for other dates meanwhile cannot mix its rows in.
        table.readBuilt(db, period, [&] {
            csv = stats::gridCsv(db, table);
            if (a.has("--xlsx")) {
                rows.setQuery(table.gridQuery(fields.join(',')), db);
                while (rows.canFetchMore())
                    rows.fetchMore();
            }
            if (a.has("--pdf"))
                reports = stats::printedReports(db, table, period);
        }, stats::TableDescription::Rebuilding::Always);
        QTextStream(stdout) << csv;
        if (a.has("--xlsx")) {
            // The grid as the screen shows it, titled with the screen and the cut-off.
            for (size_t i = 0; i < columns.size(); ++i)
                rows.setHeaderData(int(i), Qt::Horizontal, columns[i].gridTitle);
            const QString title = xlsx::screenTitle(table.titleBar) + ' ' + stats::periodCaption(period);
            QString error;
            if (!xlsx::write({title, &rows}, a.text("--xlsx"), &error)) {
                err() << error << '\n';
                return 1;
            }
        }
        const QString pdf = a.text("--pdf");
        if (pdf.isEmpty())
            return 0;
        // The reports one after the other in one file.
        const report::Document all = report::joined(reports);
        QString error;
        if (!report::writePdf(all, pdf, &error)) {
            err() << error << '\n';
            return 1;
        }
        return 0;
    });
}

// The item of `items` whose code is `code`; with no code, the item at `fallback`.
std::optional<code_items::Item> pick(const QList<code_items::Item> &items, const QString &code, int fallback)
{
    if (code.isEmpty())
        return items.value(std::clamp(fallback, 0, int(items.size()) - 1));
    for (const code_items::Item &item : items)
        if (item.code == code)
            return item;
    return std::nullopt;
}

int printRoster(const admin::Parsed &a)
{
    const roster::Member *member = roster::findMember(a.words.value(0));
    const QString rangeName = a.has("--range") ? a.text("--range") : QStringLiteral("以上");
    const auto range = roster::levelRangeNamed(rangeName);
    if (!range) {
        err() << QStringLiteral("选项 --range 应为 以上、等于 或 以下：%1").arg(rangeName) << '\n';
        return 2;
    }
    const QString file = a.text("--db");
    const QString pdf = a.text("--pdf");
    if (!toldOpening(database::open(database::kSharedConnection, file)))
        return 1;
    const QSqlDatabase db = database::shared();
    try {
        // Unset filters start where the screen starts.
        roster::Filter filter;
        filter.department = a.text("--dept");
        filter.range = *range;
        const QList<code_items::Item> levels = roster::levelItems(db, *member);
        const roster::Filter opening = roster::openingFilter(db, *member);
        const auto level = pick(levels, a.text("--level").isEmpty() ? opening.level : a.text("--level"), 0);
        if (!level) {
            err() << QStringLiteral("没有这个级别：%1").arg(a.text("--level")) << '\n';
            return 1;
        }
        filter.level = level->code;
        QString partyItem;
        if (member->partyFilter) {
            const auto party = pick(roster::partyItems(db), a.text("--party").isEmpty() ? opening.party : a.text("--party"), 0);
            if (!party) {
                err() << QStringLiteral("没有这个党派：%1").arg(a.text("--party")) << '\n';
                return 1;
            }
            partyItem = party->code + party->name;  // as the screen's list shows it
            filter.party = party->code;
            if (filter.party == QStringLiteral("00")) {
                err() << QStringLiteral("党派编码为00时不打印党员花名册。") << '\n';
                return 1;
            }
        }
        // Rows are read as their pages are written, so memory does not grow with the roster.
        const std::shared_ptr<report::RowSource> rows = roster::rosterRows(db, *member, filter);
        const report::Document document = roster::layoutRosterFromSource(member->reportClass, roster::printedTitle(*member, partyItem), rows);
        QString error;
        if (!report::writePdf(document, pdf, &error)) {
            err() << error << '\n';
            return 1;
        }
        QTextStream(stdout) << QStringLiteral("wrote %1: %2 rows on %3 pages\n").arg(pdf).arg(rows->count()).arg(document.pages.size());
    } catch (const sql::Failure &failure) {
        err() << failure.message() << '\n';
        return 1;
    }
    return 0;
}

int printResume(const admin::Parsed &a)
{
    const QString code = a.words.first();
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        // The cadres the résumé screen lists, and no one else.
        QSqlQuery cadres = records::searchEmployees(db, records::ListBase::TechnicalCadres, {.codePrefix = code});
        const bool listed = cadres.next() && cadres.value(0).toString() == code;
        // Ended before the résumé's own statements: a server's driver drops a result still
        // being read when the connection runs another.
        cadres.finish();
        if (!listed) {
            err() << QStringLiteral("没有这个干部：%1").arg(code) << '\n';
            return 1;
        }
        const std::optional<report::Document> document = staff::resume::printedResume(db, code);
        QString error;
        if (!document || !report::writePdf(*document, a.text("--pdf"), &error)) {
            err() << error << '\n';
            return 1;
        }
        QTextStream(stdout) << QStringLiteral("wrote %1: the résumé of %2 on %3 pages\n")
                                   .arg(a.text("--pdf"), code).arg(document->pages.size());
        return 0;
    });
}

int backUp(const admin::Parsed &a)
{
    const QString target = a.text("--to");
    if (QFileInfo::exists(target)) {
        err() << QStringLiteral("备份文件已存在，不会覆盖：%1").arg(target) << '\n';
        return 1;
    }
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        const backup::Outcome saved = backup::save(db, target);
        if (!saved.ok) {
            tell(saved.message, saved.details);
            return 1;
        }
        QTextStream(stdout) << "backed up " << a.text("--db") << " to " << target << '\n';
        return 0;
    });
}

// The restored file says once that it was restored, opened afresh (a backup of an older
// version climbs first). 0 when written.
int noteRestore(const QString &file, const QString &source)
{
    return onDatabase(file, [&](const QSqlDatabase &db) {
        change_log::noteRestore(db, source);
        return 0;
    });
}

int copyOffice(const admin::Parsed &a)
{
    const QString sourcePath = a.text("--from"), targetPath = a.text("--to");
    const auto same = [](const QString &a, const QString &b) {
        if (database::isServerAddress(a) || database::isServerAddress(b))
            return database::parseAddress(a).text() == database::parseAddress(b).text();
        return QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
    };
    if (same(sourcePath, targetPath)) {
        err() << QStringLiteral("源数据库和目标数据库是同一个：%1").arg(sourcePath) << '\n';
        return 1;
    }
    if (!toldOpening(database::open("copy-source", sourcePath)))
        return 1;
    // An empty server database is made in the copy's own transaction, so a failed copy leaves
    // it empty.
    const database::OpenResult opened =
        database::isServerAddress(targetPath)
            ? database::openServer("copy-target", database::parseAddress(targetPath), database::EmptyServer::Leave)
            : database::open("copy-target", targetPath);
    if (!toldOpening(opened)) {
        database::close("copy-source");
        return 1;
    }
    QTextStream out(stdout);
    const office_copy::Outcome copied =
        office_copy::copy(QSqlDatabase::database("copy-source", false), QSqlDatabase::database("copy-target", false),
                          [&](const QString &table) { out << QStringLiteral("复制 %1 …").arg(table) << '\n' << Qt::flush; });
    database::close("copy-source");
    database::close("copy-target");
    if (!copied.counts.empty()) {
        out << QStringLiteral("表\t源\t目标") << '\n';
        for (const office_copy::TableCount &c : copied.counts)
            out << c.table << '\t' << c.source << '\t' << c.target << '\n';
    }
    if (!copied.ok) {
        // A target file made for this copy goes again with it.
        if (opened.created && !database::isServerAddress(targetPath))
            for (const char *suffix : {"", "-wal", "-shm"})
                QFile::remove(targetPath + suffix);
        tell(copied.message, copied.details);
        return 1;
    }
    out << QStringLiteral("已复制到 %1").arg(targetPath) << '\n';
    return 0;
}

int restore(const admin::Parsed &a)
{
    const QString source = a.text("--from");
    // Refused before the database is opened, so a bad backup changes nothing at all.
    if (const backup::Outcome checked = backup::check(source); !checked.ok) {
        tell(checked.message, checked.details);
        return 1;
    }
    const int status = onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        const backup::Outcome restored = backup::restore(db, source);
        if (!restored.ok) {
            tell(restored.message, restored.details);
            return 1;
        }
        QTextStream(stdout) << "restored " << a.text("--db") << " from " << source
                            << "; the previous content is kept in " << restored.keptCopy << '\n';
        return 0;
    });
    return status != 0 ? status : noteRestore(a.text("--db"), source);
}

// An operator added headless: the password is the first line of standard input, so it shows
// neither on the screen nor in the shell's history.
int addOperator(const admin::Parsed &a)
{
    QTextStream in(stdin);
    const QString password = in.readLine();
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        const QString number = operators::add(db, a.words.value(0), a.text("--role"), password);
        QTextStream(stdout) << QStringLiteral("操作员 %1（编号 %2，%3）已添加\n").arg(a.words.value(0), number, a.text("--role"));
        return 0;
    });
}

int printLog(const admin::Parsed &a)
{
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        change_log::Filter filter;
        filter.employee = a.text("--employee");
        filter.from = a.date("--from");
        filter.to = a.date("--to");
        QSqlQuery q = change_log::entries(db, filter, rights::session().role);
        q.setForwardOnly(true);
        sql::exec(q);
        QTextStream out(stdout);
        out << csv::line(change_log::kColumns);
        while (q.next()) {
            QVariantList values;
            for (int i = 0; i < change_log::kColumns.size(); ++i)
                values << q.value(i);
            out << csv::line(values);
        }
        return 0;
    });
}

// A staff list into the register as "导入职工…" imports it, its columns found by their headers:
// a line for each row not imported, then the counts. 0 when a row was imported (or, with
// --dry-run, would be), 1 when none could be.
int importStaff(const admin::Parsed &a)
{
    using namespace staff_import;
    const Existing existing = a.text("--existing") == "update" ? Existing::Update : Existing::Skip;
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        QTextStream out(stdout);
        try {
            const Mapping mapping = proposeMapping(readHeaders(a.text("--from")));
            const Counts checked = checkFile(db, a.text("--from"), mapping, existing, [&out](const Verdict &v) {
                if (!v.accepted())
                    out << v.text() << '\n';
            });
            const bool dryRun = a.has("--dry-run");
            const Counts done = dryRun || checked.accepted() == 0
                                    ? checked
                                    : importFile(db, a.text("--from"), mapping, existing, checked);
            out << done.text(dryRun) << '\n';
            return done.accepted() > 0 ? 0 : 1;
        } catch (const FileError &e) {
            err() << e.message() << '\n';
            return 1;
        }
    });
}

// The register in the import template's columns, as .xlsx or .csv.
int exportStaff(const admin::Parsed &a)
{
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        try {
            const int written = staff_import::exportRegister(db, a.text("--to"));
            QTextStream(stdout) << QStringLiteral("导出 %1 名职工到 %2").arg(written).arg(a.text("--to")) << '\n';
            return 0;
        } catch (const staff_import::FileError &e) {
            err() << e.message() << '\n';
            return 1;
        }
    });
}

// The grids of a read-only screen as the screen shows them, as CSV with each grid's caption.
// The read-only screens wenpad-admin grid answers: each screen's own inputs and its grids.
struct GridScreen {
    QStringList inputs;
    std::function<std::vector<pay::Grid>(const QSqlDatabase &, const admin::Parsed &)> grids;
    QStringList optionalInputs = {};
};

// A list grid as it reads: the query's column names as titles.
std::vector<pay::Grid> listGrid(const QString &caption, QSqlQuery rows)
{
    pay::Grid grid{caption, {}, {}};
    for (int i = 0; i < rows.record().count(); ++i)
        grid.titles << rows.record().fieldName(i);
    while (rows.next()) {
        QVariantList row;
        for (int i = 0; i < grid.titles.size(); ++i)
            row << rows.value(i);
        grid.rows << row;
    }
    return {grid};
}

const QMap<QString, GridScreen> &gridScreens()
{
    const auto year = [](const admin::Parsed &a) { return a.values.value("--year").toInt(); };
    static const QMap<QString, GridScreen> screens = {
        {"TFrmgsygztj", {{"--month"}, [](const QSqlDatabase &db, const admin::Parsed &a) {
             return pay::statisticsGrids(db, a.date("--month"), a.date("--month"));
         }}},
        {"TFrmgsngztj", {{"--year"}, [year](const QSqlDatabase &db, const admin::Parsed &a) {
             return pay::statisticsGrids(db, QDate(year(a), 1, 1), QDate(year(a), 12, 1));
         }}},
        {"Tfrmgzlr", {{"--month", "--dept"}, [](const QSqlDatabase &db, const admin::Parsed &a) {
             return pay::sheetGrids(db, a.date("--month"), a.text("--dept"));
         }}},
        {"TFrmgsygzdz", {{"--year"}, [year](const QSqlDatabase &db, const admin::Parsed &a) {
             return std::vector<pay::Grid>{pay::comparisonGrid(db, pay::ComparisonSpan::Months, year(a))};
         }}},
        {"TFrmgsngzdz", {{"--year"}, [year](const QSqlDatabase &db, const admin::Parsed &a) {
             return std::vector<pay::Grid>{pay::comparisonGrid(db, pay::ComparisonSpan::Years, year(a))};
         }}},
        {"Tfrmzggzcx", {{"--employee", "--from", "--to"}, [](const QSqlDatabase &db, const admin::Parsed &a) {
             return pay::employeeGrids(db, a.text("--employee"), a.date("--from"), a.date("--to"));
         }}},
        // One pay month, narrowed to the employees whose current department is --dept.
        {"Tfrmzggzzhcx", {{"--month"}, [](const QSqlDatabase &db, const admin::Parsed &a) {
             return pay::salaryQueryGrids(db, pay::MonthRange(a.date("--month"), a.date("--month")),
                                          query::build({.department = a.text("--dept")}));
         }, {"--dept"}}},
        {"Tfrmndkhtj", {{"--year"}, [year](const QSqlDatabase &db, const admin::Parsed &a) {
             return std::vector<pay::Grid>{pay::appraisalStatistics(db, year(a), pay::AppraisalCounts::Counts)};
         }}},
        {"Tfrmndkhzb", {{"--year"}, [year](const QSqlDatabase &db, const admin::Parsed &a) {
             return std::vector<pay::Grid>{pay::appraisalStatistics(db, year(a), pay::AppraisalCounts::Shares)};
         }}},
        {"Tfrmygrsjlk", {{"--employee", "--year"}, [year](const QSqlDatabase &db, const admin::Parsed &a) {
             std::vector<pay::Grid> grids;
             for (const records::CardGrid &g : records::recordCard(db, a.text("--employee"), year(a)))
                 grids.push_back({g.caption, g.titles, g.rows});
             return grids;
         }}},
        {"Tfrmndkhcx", {{}, [](const QSqlDatabase &db, const admin::Parsed &) {
             return std::vector<pay::Grid>{pay::appraisalListGrid(db, {})};
         }}},
        {"TFrmzwdjxxxx", {{"--employee"}, [](const QSqlDatabase &db, const admin::Parsed &a) {
             return std::vector<pay::Grid>{pay::gradeSalaryHistoryGrid(db, a.text("--employee")),
                                           pay::appraisalResultsGrid(db, a.text("--employee"))};
         }}},
        {"Tfrmgrpxjltj", {{"--employee"}, [](const QSqlDatabase &db, const admin::Parsed &a) {
             return listGrid(QStringLiteral("培训情况"), records::training::employeeCourses(db, a.text("--employee")));
         }}},
        {"Tfrmgspxqktj", {{"--from", "--to"}, [](const QSqlDatabase &db, const admin::Parsed &a) {
             return listGrid(QStringLiteral("培训记录"), records::training::coursesBetween(db, a.date("--from"), a.date("--to")));
         }}},
    };
    return screens;
}

int printGrids(const admin::Parsed &a)
{
    const QString screen = a.words.value(0);
    const GridScreen &gridScreen = gridScreens()[screen];
    // Each screen's own inputs; the others are refused.
    QString usage = gridScreen.inputs.join(QStringLiteral(" … ")) + QStringLiteral(" …");
    for (const QString &name : gridScreen.optionalInputs)
        usage += QStringLiteral(" [%1 …]").arg(name);
    for (const QString name : {"--month", "--year", "--dept", "--employee", "--from", "--to"}) {
        if (!gridScreen.optionalInputs.contains(name) && a.has(name) != gridScreen.inputs.contains(name)) {
            err() << QStringLiteral("%1 %2 选项 %3（用法：wenpad-admin grid %1 --db FILE %4）")
                         .arg(screen, a.has(name) ? QStringLiteral("不接受") : QStringLiteral("缺少"), name, usage)
                  << '\n';
            return 2;
        }
    }
    return onDatabase(a.text("--db"), [&](const QSqlDatabase &db) {
        const std::vector<pay::Grid> grids = gridScreen.grids(db, a);
        QTextStream(stdout) << pay::toCsv(grids);
        if (a.has("--xlsx")) {
            std::vector<std::unique_ptr<QStandardItemModel>> models;
            std::vector<xlsx::Table> sheets;
            for (const pay::Grid &g : grids) {
                auto &model = models.emplace_back(std::make_unique<QStandardItemModel>(int(g.rows.size()), int(g.titles.size())));
                model->setHorizontalHeaderLabels(g.titles);
                for (int r = 0; r < g.rows.size(); ++r)
                    for (int c = 0; c < g.rows[r].size(); ++c)
                        model->setData(model->index(r, c), g.rows[r][c]);
                sheets.push_back({g.caption, model.get()});
            }
            QString error;
            if (!xlsx::write(sheets, a.text("--xlsx"), &error)) {
                err() << error << '\n';
                return 1;
            }
        }
        return 0;
    });
}

// One command: its usage line, the names its one plain word may take (none: it takes no
// word), its options, whether it draws reports (which needs a GUI application) and its work.
struct Command {
    QString usage;
    QStringList names;
    QList<admin::Option> options;
    bool drawsReports = false;
    std::function<int(const admin::Parsed &)> run;
    std::function<QString(const admin::Parsed &)> refuse = {};  // what the options alone cannot say
    bool takesAnyWord = false;  // one plain word of any value (an employee code)
};

QStringList statisticsTableNames()
{
    QStringList names;
    for (const stats::TableDescription *table : stats::statisticsTables())
        names << table->name;
    return names;
}

}  // namespace

int main(int argc, char **argv)
{
    private_files::restrictNewFiles();
    stats::registerWorkTables();
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    using admin::Kind;
    const admin::Option db{"--db", Kind::Database, true};
    const QMap<QString, Command> commands = {
        {"init", {"init --db FILE", {}, {{"--db", Kind::NewDatabase, true}}, false, init}},
        {"demo", {"demo --db FILE --employees N [--seed S]", {},
                  {db, {"--employees", Kind::Count, true}, {"--seed", Kind::Seed}}, false, demoOrganisation}},
        {"rebuild", {"rebuild TABLE --db FILE (--date yyyy-MM-dd | --from yyyy-MM-dd --to yyyy-MM-dd) [--pdf OUT] [--xlsx OUT]",
                     statisticsTableNames(),
                     {db, {"--date", Kind::Date}, {"--from", Kind::Date}, {"--to", Kind::Date}, {"--pdf", Kind::File},
                      {"--xlsx", Kind::File}},
                     true, rebuild, periodRefusal}},
        {"rebuild gzdtjlb", {"rebuild gzdtjlb --db FILE --employee CODE", {"gzdtjlb"},
                             {db, {"--employee", Kind::Text, true}}, false, rebuildTimeline}},
        {"rebuild gskqtjb", {"rebuild gskqtjb --db FILE --from yyyy-MM-dd --to yyyy-MM-dd [--pdf OUT]", {"gskqtjb"},
                             {db, {"--from", Kind::Date, true}, {"--to", Kind::Date, true}, {"--pdf", Kind::File}}, true,
                             rebuildCompanyAttendance}},
        {"grid", {"grid SCREEN --db FILE [--month yyyy-MM] [--year yyyy] [--dept CODE] [--employee CODE] [--from yyyy-MM-dd --to yyyy-MM-dd] [--xlsx OUT]",
                  gridScreens().keys(),
                  {db, {"--month", Kind::Month}, {"--year", Kind::Year}, {"--dept", Kind::Text}, {"--employee", Kind::Text},
                   {"--from", Kind::Date}, {"--to", Kind::Date}, {"--xlsx", Kind::File}},
                  false, printGrids}},
        {"roster", {"roster NAME --db FILE --pdf OUT [--dept CODE] [--level CODE --range 以上|等于|以下] [--party CODE]",
                    {"Tfrmgbxx", "Tfrmkjgbxx", "Tfrmdyxx"},
                    {db, {"--pdf", Kind::File, true}, {"--dept", Kind::Text}, {"--level", Kind::Text},
                     {"--range", Kind::Text}, {"--party", Kind::Text}}, true, printRoster}},
        {"resume", {"resume CODE --db FILE --pdf OUT", {}, {db, {"--pdf", Kind::File, true}}, true, printResume, {}, true}},
        {"backup", {"backup --db FILE --to OUT", {}, {db, {"--to", Kind::File, true}}, false, backUp}},
        {"copy", {"copy --from SOURCE --to TARGET", {}, {{"--from", Kind::Database, true}, {"--to", Kind::File, true}}, false,
                  copyOffice}},
        {"restore", {"restore --db FILE --from IN", {}, {db, {"--from", Kind::File, true}}, false, restore}},
        {"import", {"import --db FILE --from FILE.xlsx|FILE.xls|FILE.csv [--dry-run] [--existing skip|update]", {},
                    {db, {"--from", Kind::File, true}, {"--dry-run", Kind::Flag}, {"--existing", Kind::Text}}, false,
                    importStaff, [](const admin::Parsed &a) {
                        return !a.has("--existing") || QStringList{"skip", "update"}.contains(a.text("--existing"))
                                   ? QString() : QStringLiteral("--existing 应为 skip 或 update");
                    }}},
        {"export", {"export --db FILE --to FILE.xlsx|FILE.csv", {}, {db, {"--to", Kind::File, true}}, false, exportStaff,
                    [](const admin::Parsed &a) {
                        return QStringList{"xlsx", "csv"}.contains(QFileInfo(a.text("--to")).suffix().toLower())
                                   ? QString() : QStringLiteral("--to 应为 .xlsx 或 .csv 文件");
                    }}},
        {"operator add", {"operator add NAME --role 系统管理员|人事|工资|查询 --db FILE（密码从标准输入读一行）", {},
                          {db, {"--role", Kind::Text, true}}, false, addOperator,
                          [](const admin::Parsed &a) {
                              return rights::isRole(a.text("--role"))
                                         ? QString() : QStringLiteral("--role 应为 %1").arg(rights::roles().join('|'));
                          }, true}},
        {"log", {"log --db FILE [--employee CODE] [--from yyyy-MM-dd] [--to yyyy-MM-dd]", {},
                 {db, {"--employee", Kind::Text}, {"--from", Kind::Date}, {"--to", Kind::Date}}, false, printLog}},
    };
    // The timeline work table is rebuilt for an employee and the company attendance table for
    // a range, not for a date.
    const bool ownRebuild = args.value(1) == "rebuild" && (args.value(2) == "gzdtjlb" || args.value(2) == "gskqtjb");
    const bool operatorCommand = args.value(1) == "operator" && args.value(2) == "add";
    const QString name = ownRebuild || operatorCommand ? args.value(1) + ' ' + args.value(2) : args.value(1);
    // --help anywhere: the usage of the command named (with its own kinds: "rebuild" lists
    // "rebuild gskqtjb" too), or of every command.
    if (args.contains(QStringLiteral("--help"))) {
        QTextStream out(stdout);
        out << QStringLiteral("用法：\n");
        for (const auto &[key, command] : commands.asKeyValueRange())
            if (!commands.contains(name) || key == name || key.startsWith(name + ' '))
                out << "  wenpad-admin " << command.usage << '\n';
        return 0;
    }
    if (!commands.contains(name)) {
        err() << "usage: wenpad-admin <" << QStringList(commands.keys()).join('|') << "> [options]（wenpad-admin --help 列出用法）\n";
        return 2;
    }
    // The command line is checked before anything starts, so a refusal is its one line.
    const Command &command = commands[name];
    admin::Refusal refusal;
    auto parsed = admin::parse(args.mid(operatorCommand ? 3 : 2), command.options, command.names.isEmpty() && !command.takesAnyWord ? 0 : 1, &refusal);
    if (parsed && !command.names.isEmpty() && !command.names.contains(parsed->words.first())) {
        refusal.message = QStringLiteral("没有这个名称：%1（可用：%2）").arg(parsed->words.first(), command.names.join('|'));
        parsed.reset();
    }
    if (parsed && command.refuse) {
        refusal.message = command.refuse(*parsed);
        if (!refusal.message.isEmpty())
            parsed.reset();
    }
    if (!parsed) {
        err() << refusal.message << QStringLiteral("（用法：wenpad-admin %1）").arg(command.usage) << '\n';
        return refusal.status;
    }
    if (!command.drawsReports) {
        QCoreApplication app(argc, argv);
        return command.run(*parsed);
    }
    // Reports measure and draw text, which needs a GUI application; without a display it runs
    // offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (cron, ssh) Qt would warn on standard error about a missing runtime
    // folder: give it a private one for this run.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    return command.run(*parsed);
}
