// Times long printed documents on a generated organisation: the first page of a preview, a jump
// to its last page, and a roster written as a PDF, with the peak memory of each step.
//   report_bench --db FILE [--employees N]
// FILE is a generated organisation (made with N employees, default 100000, when it is missing).
// Memory: in-process steps give the peak resident size during the step (VmHWM of
// /proc/self/status, reset through /proc/self/clear_refs before the step); the PDF is written by
// a child `wenpad-admin roster` whose peak is its getrusage ru_maxrss.

#include "best_of.h"
#include "generated_organisation.h"
#include "db/database.h"
#include "db/sql.h"
#include "query/basic_situation.h"
#include "reports/layout.h"
#include "reports/render.h"
#include "staff/roster_query.h"
#include "staff/roster_report.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

struct Measured {
    double ms = 0;
    double peakMb = 0;
};

Measured measure(const std::function<void()> &step)
{
    resetPeakMemory();
    QElapsedTimer t;
    t.start();
    step();
    return {t.nsecsElapsed() / 1e6, processMemoryMb().peakMb};
}

// A page of a preview painted at the screen's size: the first is what it does before it shows
// anything.
void paintedPage(const report::Document &document, size_t page)
{
    constexpr double kPixelsPerMm = 96 / 25.4;
    QImage image(qRound(document.paper.width() * kPixelsPerMm), qRound(document.paper.height() * kPixelsPerMm),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(kPixelsPerMm * 1000));
    image.setDotsPerMeterY(qRound(kPixelsPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    report::paintPage(painter, document, document.pages[page], kPixelsPerMm);
}

// A child run: wall time and its peak resident size; nothing when it could not be started or
// did not finish successfully (why on stderr), so a failed run is never reported as a timing.
std::optional<Measured> child(const QStringList &arguments)
{
    std::vector<QByteArray> bytes;
    for (const QString &a : arguments)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ); error != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(error));
        return std::nullopt;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        std::fprintf(stderr, "cannot wait for %s: %s\n", argv[0], std::strerror(errno));
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        if (WIFEXITED(status))
            std::fprintf(stderr, "%s exited with status %d\n", argv[0], WEXITSTATUS(status));
        else
            std::fprintf(stderr, "%s ended by signal %d\n", argv[0], WIFSIGNALED(status) ? WTERMSIG(status) : 0);
        return std::nullopt;
    }
    return Measured{t.nsecsElapsed() / 1e6, usage.ru_maxrss / 1024.0};
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString file;
    int employees = 100000;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--db")
            file = args[i + 1];
        else if (args[i] == "--employees")
            employees = args[i + 1].toInt();
    }
    if (file.isEmpty()) {
        std::fprintf(stderr, "usage: report_bench --db FILE [--employees N]\n");
        return 2;
    }
    if (generatedOrganisation(file, {.employees = employees, .seed = 1}).isEmpty()
        || !database::open(database::kSharedConnection, file).ok)
        return 1;
    const QSqlDatabase db = database::shared();
    QTextStream out(stdout);
    const auto line = [&](const QString &what, const Measured &m, const QString &note) {
        out << QString("%1 %2 ms %3 MB peak  %4\n").arg(what, -44).arg(m.ms, 9, 'f', 1).arg(m.peakMb, 7, 'f', 1).arg(note)
            << Qt::flush;
    };
    out << QString("employees: %1  baseline %2 MB\n").arg(sql::scalar(db, "select count(*) from zghmc").toInt()).arg(processMemoryMb().peakMb, 0, 'f', 1);

    // The child first: a child's peak counts from its parent's size when it was started.
    QTemporaryDir dir;
    const QString admin = QDir(QCoreApplication::applicationDirPath()).filePath("wenpad-admin");
    const QString pdf = dir.filePath("roster.pdf");
    const std::optional<Measured> written =
        child({admin, "roster", "Tfrmkjgbxx", "--db", QFileInfo(file).absoluteFilePath(), "--pdf", pdf});
    if (!written)
        return 1;
    line("wenpad-admin roster Tfrmkjgbxx --pdf (child)", *written,
         QString("%1 MB file").arg(QFileInfo(pdf).size() / 1048576.0, 0, 'f', 1));

    // The preview's first page, then a jump to its last.
    const auto previewed = [&](const QString &what, const std::function<report::Document()> &laidOut) {
        report::Document d;
        const Measured first = measure([&] {
            d = laidOut();
            paintedPage(d, 0);
        });
        line("preview first page: " + what, first, QString("%1 pages").arg(d.pages.size()));
        line("preview then its last page: " + what, measure([&] { paintedPage(d, d.pages.size() - 1); }), QString());
    };
    previewed("query list (all)", [&] {
        return roster::layoutRosterFromSource("Trepcxxx", QString(), query::basicSituationRosterSource(db, {}));  // the title box empty
    });
    // As the roster screen prints: its rows read again page by page.
    const roster::Member &cadres = *roster::findMember("Tfrmkjgbxx");
    previewed("section cadre roster", [&] {
        return roster::layoutRosterFromSource(cadres.reportClass, roster::printedTitle(cadres, {}),
                                              roster::rosterRows(db, cadres, roster::openingFilter(db, cadres)));
    });
    return 0;
}
