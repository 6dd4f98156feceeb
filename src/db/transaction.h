#pragma once
// Writes that belong together: the dialect's write transaction starts on construction (so a
// concurrent writer makes us wait on the busy timeout instead of failing half-way), COMMIT by commit(), ROLLBACK when
// destroyed without commit, including while an exception unwinds. On a connection the program
// opened, the transaction is marked with the session's operator for the change log
// (change_log.h) from its start until just before its commit.

#include <QSqlDatabase>
#include <optional>

class Transaction {
public:
    explicit Transaction(const QSqlDatabase &db);  // throws sql::Failure
    ~Transaction();
    void commit();                                 // throws sql::Failure
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Whether a Transaction is open on this connection.
    static bool isOpen(const QSqlDatabase &db);

private:
    QSqlDatabase db_;
    bool open_ = false;
};

// A write that may run inside a caller's Transaction or alone: alone, it gets one of its own,
// so it is marked with its operator like every other write of the program.
class WriteScope {
public:
    explicit WriteScope(const QSqlDatabase &db)
    {
        if (!Transaction::isOpen(db))
            own_.emplace(db);
    }
    void commit()
    {
        if (own_)
            own_->commit();
    }

private:
    std::optional<Transaction> own_;
};
