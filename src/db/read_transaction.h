#pragma once
// Reads that must see one picture of the data: a printout read page by page while another
// operator writes sees the data as it was when the first read began, from the first page to
// the last. Started by the dialect's read transaction on construction, ended on destruction.

#include <QSqlDatabase>

class ReadTransaction {
public:
    explicit ReadTransaction(const QSqlDatabase &db);  // throws sql::Failure
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    QSqlDatabase db_;
};
