#include "reports/row_source.h"

#include "db/database.h"
#include "db/read_transaction.h"
#include "db/sql.h"

#include <optional>

namespace report {
namespace {

class ListRows : public RowSource {
public:
    explicit ListRows(QList<Row> rows) : rows_(std::move(rows)) {}
    int count() override { return int(rows_.size()); }
    QList<Row> rows(int first, int count) override { return rows_.mid(first, count); }

private:
    const QList<Row> rows_;
};

// A connection of the printout's own to the database `db` is open on, closed with it: its read
// transaction may last as long as the printout is looked at without keeping anyone's writes
// on `db` from starting.
class OwnConnection {
public:
    explicit OwnConnection(const QSqlDatabase &db)
        : name_(QStringLiteral("printout-%1").arg(quintptr(this)))
    {
        const database::OpenResult opened = database::open(name_, db.databaseName(), database::Check::Identity);
        if (!opened.ok)  // told as a database error: the message and the words behind it as details
            throw sql::Failure(opened.details.isEmpty() ? opened.message : opened.message + '\n' + opened.details);
    }
    ~OwnConnection() { database::close(name_); }
    OwnConnection(const OwnConnection &) = delete;
    OwnConnection &operator=(const OwnConnection &) = delete;
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};

class ListedRows : public RowSource {
public:
    ListedRows(const QSqlDatabase &db, windowed::Listing listing, ListedRow row)
        : db_(db), listing_(std::move(listing)), row_(std::move(row))
    {
    }

    int count() override
    {
        openOnce();
        return model_.rowCount();
    }

    QList<Row> rows(int first, int count) override
    {
        openOnce();
        QList<Row> found;
        for (int r = first; r < std::min(first + count, model_.rowCount()); ++r)
            found << row_(model_.row(r), model_.fields());
        return found;
    }

private:
    void openOnce()
    {
        if (!opened_) {
            // The keys and every page after them come from one picture of the data, however
            // long the printout is looked at while others write.
            if (database::reachableByOthers(db_)) {
                connection_.emplace(db_);
                reading_.emplace(connection_->db());
            }
            model_.open(connection_ ? connection_->db() : db_, listing_);
            opened_ = true;
        }
    }

    QSqlDatabase db_;
    windowed::Listing listing_;
    ListedRow row_;
    // In this order, so the model's reads end before the transaction, and that before the connection.
    std::optional<OwnConnection> connection_;
    std::optional<ReadTransaction> reading_;
    WindowedRows model_;
    bool opened_ = false;
};

}  // namespace

std::shared_ptr<RowSource> listRows(QList<Row> rows) { return std::make_shared<ListRows>(std::move(rows)); }

std::shared_ptr<RowSource> windowedRows(const QSqlDatabase &db, windowed::Listing listing, ListedRow row)
{
    return std::make_shared<ListedRows>(db, std::move(listing), std::move(row));
}

}  // namespace report
