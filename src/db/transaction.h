#pragma once
// Writes that belong together: the dialect's write transaction starts on construction (so a
// concurrent writer makes us wait on the busy timeout instead of failing half-way), COMMIT by commit(), ROLLBACK when
// destroyed without commit, including while an exception unwinds.

#include <QSqlDatabase>

class Transaction {
public:
    explicit Transaction(const QSqlDatabase &db);  // throws sql::Failure
    ~Transaction();
    void commit();                                 // throws sql::Failure
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    QSqlDatabase db_;
    bool open_ = false;
};
