#include "reports/row_source.h"

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

class QueryRows : public RowSource {
public:
    QueryRows(std::function<QSqlQuery()> open, std::function<Row(const QSqlQuery &)> row, std::function<int()> count)
        : open_(std::move(open)), row_(std::move(row)), counted_(std::move(count))
    {
    }

    int count() override
    {
        if (count_ < 0 && counted_) {
            count_ = counted_();
        } else if (count_ < 0) {
            QSqlQuery q = open_();
            int n = 0;
            while (q.next())
                ++n;
            count_ = n;
        }
        return count_;
    }

    QList<Row> rows(int first, int count) override
    {
        if (!cursor_ || first < next_) {
            cursor_.reset();  // one statement at a time on the connection
            cursor_ = open_();
            next_ = 0;
        }
        while (next_ < first && cursor_->next())
            ++next_;
        QList<Row> found;
        while (found.size() < count && next_ == first + found.size() && cursor_->next()) {
            found << row_(*cursor_);
            ++next_;
        }
        return found;
    }

private:
    std::function<QSqlQuery()> open_;
    std::function<Row(const QSqlQuery &)> row_;
    std::function<int()> counted_;
    int count_ = -1;
    std::optional<QSqlQuery> cursor_;
    int next_ = 0;  // the row the cursor's next step reads
};

}  // namespace

std::shared_ptr<RowSource> listRows(QList<Row> rows) { return std::make_shared<ListRows>(std::move(rows)); }

std::shared_ptr<RowSource> queryRows(std::function<QSqlQuery()> open, std::function<Row(const QSqlQuery &)> row,
                                     std::function<int()> count)
{
    return std::make_shared<QueryRows>(std::move(open), std::move(row), std::move(count));
}

}  // namespace report
