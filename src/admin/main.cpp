// wenpad-admin: work on a database file without the window.
//   wenpad-admin init --db FILE      create a new delivered database at FILE

#include "db/database.h"

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

// --name value pairs after the command word.
QMap<QString, QString> options(const QStringList &args)
{
    QMap<QString, QString> result;
    for (int i = 2; i + 1 < args.size(); i += 2)
        result[args[i]] = args[i + 1];
    return result;
}

int init(const QMap<QString, QString> &opts)
{
    const QString file = opts.value("--db");
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

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QMap<QString, std::function<int(const QMap<QString, QString> &)>> commands = {
        {"init", init},
    };
    if (args.size() < 2 || !commands.contains(args[1])) {
        err() << "usage: wenpad-admin <" << QStringList(commands.keys()).join('|') << "> [options]\n";
        return 2;
    }
    return commands[args[1]](options(args));
}
