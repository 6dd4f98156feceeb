#pragma once
// Which engine a test's databases live on. A test registered on both engines
// (wenpad_test_both in tests/CMakeLists.txt) runs once on files and once, as NAME_pg, with
// WENPAD_TEST_ENGINE=postgresql on the throwaway cluster named by WENPAD_TEST_PG
// (scripts/pg-cluster); without a cluster the _pg run is skipped.

#include <QString>

// Whether this run's databases are on the server.
bool testOnServer();

// A new database on the test cluster: empty, or a copy of the delivered database (made once
// per process and copied by the server, so the operator's password is hashed once). Its
// address (postgresql://…); every database made here is dropped when the process ends.
QString emptyServerDatabase();
QString deliveredServerDatabase();
// A new database on the test cluster holding what the one at `address` holds (to which no one
// may be connected meanwhile).
QString copiedServerDatabase(const QString &address);
// Drops a database made above now, ending any connection still open on it.
void dropServerDatabase(const QString &address);

// For a case about the file itself (its bytes, pages, journal, permissions, a full disk):
// skipped in the server run.
#define SKIP_ON_SERVER(why)          \
    do {                             \
        if (testOnServer())          \
            QSKIP(why);              \
    } while (false)
