// wenpad-admin: work on a database file without the window.
//   wenpad-admin init --db FILE                              create a new delivered database
//   wenpad-admin demo --db FILE --employees N [--seed S]     fill it with a generated organisation
//   wenpad-admin rebuild TABLE --db FILE --date yyyy-mm-dd   rebuild a statistics work table and
//                                                            print it as CSV, rows in grid order

#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "stats/work_tables.h"

#include <QCoreApplication>
#include <QMap>
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
    const database::OpenResult r = database::open("admin", file);
    if (!r.ok) {
        err() << r.message << '\n';
        return 1;
    }
    int status = 0;
    try {
        demo::generate(QSqlDatabase::database("admin", false), options, [](int done) {
            QTextStream(stdout) << "\r" << done << " employees" << Qt::flush;
        });
        QTextStream(stdout) << "\n";
    } catch (const sql::Failure &e) {
        err() << "\n" << e.message() << '\n';
        status = 1;
    }
    database::close("admin");
    return status;
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
        err() << "usage: wenpad-admin rebuild <" << names.join('|') << "> --db FILE --date yyyy-mm-dd\n";
        return 2;
    }
    const database::OpenResult r = database::open("admin", file);
    if (!r.ok) {
        err() << r.message << '\n';
        return 1;
    }
    int status = 0;
    try {
        const QSqlDatabase db = QSqlDatabase::database("admin", false);
        tables.at(table).rebuild(db, cutoff);
        QTextStream(stdout) << stats::toCsv(db, tables.at(table).gridQuery());
    } catch (const sql::Failure &e) {
        err() << e.message() << '\n';
        status = 1;
    }
    database::close("admin");
    return status;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QMap<QString, std::function<int(const Arguments &)>> commands = {
        {"init", init},
        {"demo", demoOrganisation},
        {"rebuild", rebuild},
    };
    if (args.size() < 2 || !commands.contains(args[1])) {
        err() << "usage: wenpad-admin <" << QStringList(commands.keys()).join('|') << "> [options]\n";
        return 2;
    }
    return commands[args[1]](parse(args));
}
