#pragma once
// Generated organisations for trying the program and for the benchmark: a realistic register
// (Chinese names, dates spread over decades, departments including those not on duty) with
// several rows in every history, back-dated corrections and same-day changes, rewards,
// attendance, training, appraisals and monthly pay. The same seed gives the same database.

#include <QDate>
#include <QSqlDatabase>
#include <functional>

namespace demo {

struct Options {
    int employees = 1000;
    quint64 seed = 1;
    // The generated world's "now": fixed, so a seed always gives the same organisation.
    QDate anchor = QDate(2026, 6, 30);
    int payMonths = 3;      // monthly pay rows for the last months before the anchor
    int appraisalYears = 3; // appraisal rows for the last years before the anchor's year
    int attendanceYears = 2; // routine attendance rows in the anchor's year and the years before
};

// Fills a delivered database in one transaction. `progress` gets the employees written so
// far. Throws sql::Failure (and nothing is written) when a statement fails.
void generate(const QSqlDatabase &db, const Options &options,
              const std::function<void(int)> &progress = {});

}  // namespace demo
