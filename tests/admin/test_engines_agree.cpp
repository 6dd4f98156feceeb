// One office on a file and the same office on a server read the same: every reading command of
// wenpad-admin (each statistics rebuild with its printed reports and workbook, the timeline, the
// company attendance table, every read-only screen's grids, the rosters, a résumé, the
// register's export) prints the same text and writes the same PDF text and workbook cells on
// both. The office is a generated one (WENPAD_COMPARE_EMPLOYEES employees, 300 unless set),
// copied from the file to a fresh database of the cluster named by WENPAD_TEST_PG.

#include "db/clock.h"
#include "support/test_engine.h"
#include "support/test_support.h"

#include <QDate>
#include <QDir>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QTest>

namespace {

QString cluster() { return qEnvironmentVariable("WENPAD_TEST_PG"); }

// What one engine's run of a command gave: its exit, its printed text and the files it wrote.
struct Outcome {
    int status = -1;
    QString out;
    QString err;
    QString pdf;
    QString workbook;
};

}  // namespace

class TestEnginesAgree : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder_;
    QString file_;
    QString server_;
    QString cadre_;       // a technical cadre with a résumé
    QString busiest_;     // the employee with the most department changes
    int run_ = 0;

    // Runs `args` with {db} as `database` and {out} as a file name of this run in `dir`.
    Outcome runOn(const QString &database, const QString &engine, QStringList args)
    {
        const QString dir = folder_->file(QStringLiteral("%1-%2").arg(engine).arg(++run_));
        QDir().mkpath(dir);
        for (QString &a : args)
            a.replace("{db}", database).replace("{out}", dir + "/out");
        const AdminRun r = runAdmin(args);
        Outcome o{r.status, QString(r.out).replace(database, "{db}").replace(dir, "{dir}"),
                  QString(r.err).replace(database, "{db}").replace(dir, "{dir}"), {}, {}};
        if (QFileInfo::exists(dir + "/out.pdf"))
            o.pdf = pdfText(dir + "/out.pdf");
        if (QFileInfo::exists(dir + "/out.xlsx"))
            o.workbook = QString::fromUtf8(QJsonDocument(workbookSheets(dir + "/out.xlsx")).toJson());
        return o;
    }

    // The first differing line of two texts, to show where they part.
    static QString firstDifference(const QString &file, const QString &server)
    {
        const QStringList a = file.split('\n'), b = server.split('\n');
        for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
            if (a.value(i) != b.value(i))
                return QStringLiteral("line %1\n  file:   %2\n  server: %3").arg(i + 1).arg(a.value(i), b.value(i));
        return {};
    }

private slots:
    void initTestCase()
    {
        if (cluster().isEmpty())
            QSKIP("no test cluster (run through scripts/test or scripts/pg-cluster)");
        folder_ = std::make_unique<ProgramFolder>(false);
        file_ = folder_->file("database/wenpad.db");
        copyDeliveredDatabase(file_);
        const int employees = qEnvironmentVariableIntValue("WENPAD_COMPARE_EMPLOYEES");
        const AdminRun demo = runAdmin({"demo", "--db", file_, "--employees", QString::number(employees > 0 ? employees : 300),
                                        "--seed", "29"});
        QVERIFY2(demo.status == 0, qPrintable(demo.err));
        server_ = emptyServerDatabase();
        const AdminRun copied = runAdmin({"copy", "--from", file_, "--to", server_});
        QVERIFY2(copied.status == 0, qPrintable(copied.out + copied.err));

        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "office");
            db.setDatabaseName(file_);
            QVERIFY(db.open());
            cadre_ = queryValue(db, "select min(职工编码) from gbllb").toString();
            busiest_ = queryValue(db, "select 职工编码 from dwdtb group by 职工编码 order by count(*) desc, 职工编码 limit 1").toString();
        }
        QSqlDatabase::removeDatabase("office");
        QVERIFY(!cadre_.isEmpty() && !busiest_.isEmpty());
    }

    void commandsAgree_data()
    {
        QTest::addColumn<QStringList>("args");
        const QDate today = clock_source::today();
        const QString year = QString::number(today.year()), lastYear = QString::number(today.year() - 1);
        const QString month = today.toString("yyyy-MM"), todayText = today.toString(Qt::ISODate);
        const QString yearsBack = QDate(today.year() - 4, 1, 1).toString(Qt::ISODate);
        const auto add = [](const QStringList &args) { QTest::newRow(qPrintable(args.join(' '))) << args; };

        for (const QString table : {"zgjbqkfxb", "zyjsgbqktjb", "dyjbqktjb", "zgglqkfxb", "zgjbqktjb"}) {
            add({"rebuild", table, "--db", "{db}", "--date", todayText, "--pdf", "{out}.pdf", "--xlsx", "{out}.xlsx"});
            add({"rebuild", table, "--db", "{db}", "--date", "2012-06-30"});
        }
        for (const QString table : {"pxcjzbtjb", "pxjnzbtjb"})
            add({"rebuild", table, "--db", "{db}", "--from", yearsBack, "--to", todayText, "--pdf", "{out}.pdf", "--xlsx", "{out}.xlsx"});
        add({"rebuild", "gzdtjlb", "--db", "{db}", "--employee", busiest_});
        add({"rebuild", "gzdtjlb", "--db", "{db}", "--employee", cadre_});
        add({"rebuild", "gskqtjb", "--db", "{db}", "--from", lastYear + "-01-01", "--to", todayText, "--pdf", "{out}.pdf"});

        add({"grid", "TFrmgsygztj", "--db", "{db}", "--month", month, "--xlsx", "{out}.xlsx"});
        add({"grid", "TFrmgsngztj", "--db", "{db}", "--year", year});
        add({"grid", "Tfrmgzlr", "--db", "{db}", "--month", month, "--dept", "07"});
        add({"grid", "TFrmgsygzdz", "--db", "{db}", "--year", year});
        add({"grid", "TFrmgsngzdz", "--db", "{db}", "--year", year});
        add({"grid", "Tfrmzggzcx", "--db", "{db}", "--employee", busiest_, "--from", lastYear + "-01-01", "--to", todayText});
        add({"grid", "Tfrmzggzzhcx", "--db", "{db}", "--month", month});
        add({"grid", "Tfrmzggzzhcx", "--db", "{db}", "--month", month, "--dept", "02"});
        add({"grid", "Tfrmndkhtj", "--db", "{db}", "--year", lastYear});
        add({"grid", "Tfrmndkhzb", "--db", "{db}", "--year", lastYear});
        add({"grid", "Tfrmygrsjlk", "--db", "{db}", "--employee", busiest_, "--year", year});
        add({"grid", "Tfrmndkhcx", "--db", "{db}"});
        add({"grid", "TFrmzwdjxxxx", "--db", "{db}", "--employee", busiest_});
        add({"grid", "Tfrmgrpxjltj", "--db", "{db}", "--employee", cadre_});
        add({"grid", "Tfrmgspxqktj", "--db", "{db}", "--from", yearsBack, "--to", todayText});

        for (const QString roster : {"Tfrmgbxx", "Tfrmkjgbxx", "Tfrmdyxx"}) {
            add({"roster", roster, "--db", "{db}", "--pdf", "{out}.pdf"});
            add({"roster", roster, "--db", "{db}", "--pdf", "{out}.pdf", "--dept", "01", "--level", "03", "--range", "以下"});
        }
        add({"roster", "Tfrmkjgbxx", "--db", "{db}", "--pdf", "{out}.pdf", "--level", "09", "--range", "等于"});
        add({"resume", cadre_, "--db", "{db}", "--pdf", "{out}.pdf"});
        add({"export", "--db", "{db}", "--to", "{out}.xlsx"});
    }

    void commandsAgree()
    {
        QFETCH(QStringList, args);
        const Outcome file = runOn(file_, "file", args);
        const Outcome server = runOn(server_, "server", args);
        QVERIFY2(file.status == 0, qPrintable(file.err));
        QVERIFY2(server.status == file.status, qPrintable(server.err));
        QVERIFY2(server.err == file.err, qPrintable(firstDifference(file.err, server.err)));
        QVERIFY2(server.out == file.out, qPrintable(firstDifference(file.out, server.out)));
        QVERIFY2(server.pdf == file.pdf, qPrintable(firstDifference(file.pdf, server.pdf)));
        QVERIFY2(server.workbook == file.workbook, qPrintable(firstDifference(file.workbook, server.workbook)));
    }
};

QTEST_MAIN(TestEnginesAgree)
#include "test_engines_agree.moc"
