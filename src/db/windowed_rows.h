#pragma once
// WindowedRows: the model of every long read-only list (rosters, queries, employee lists).
// Opening a list reads only its order keys, once: that gives the true row count (so the
// scrollbar is right and Ctrl+End or a drag to the bottom shows the last rows at once) and the
// key that starts every window of kWindowRows rows. Rows are then read a window at a time, by
// a key range on the order (never OFFSET), wherever the view looks, forwards or backwards;
// only the kKeptWindows windows used last are held.
//
// How a list uses it:
//
//   windowed::Listing listing;
//   listing.columns = "zghmc.职工编码, zghmc.职工姓名";      // the grid's columns, in order
//   listing.from = "from zghmc join dwdtb on …";               // tables and joins
//   listing.where = "dwdtb.职工编码=zghmc.职工编码 and …";     // "" for none; values bound
//   listing.order = {"zghmc.职工姓名", "zghmc.职工编码"};      // unique together, never null
//   listing.values = {{":dw", department}};
//
//   auto *model = new WindowedRows({"编码", "职工姓名"}, this);  // no titles: column names
//   grid->setModel(model);                 // a StripedGrid fits its columns to the rows in view
//   model->open(db, listing);              // each time the list is read; throws sql::Failure
//   model->value(row, "职工编码");         // the selected row's fields (or index().data())
//
// The order must be served by an index (its first expression, with the where clause's
// equalities, leading an index of the table the from clause starts with, or the filter that
// drives it), or every window sorts the whole list. Ties are broken by ending the order with a
// unique column. Printing reads the rows page by page through report::windowedRows
// (reports/row_source.h), a window at a time; windowed::readAll holds every row at once.
//
// A list sorted by a column (a title clicked) is ordered by that column's values, which no
// index serves and which may be empty: its opening pass sorts the keys once and keeps the
// unique key of every row, and a window is read as the rows with its 128 keys (through the
// index on the order), never by sorting the list again.

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <map>

namespace windowed {

struct Listing {
    QString columns;     // the select list, in the grid's column order
    QString from;        // "from …"
    QString where;       // conditions joined with " and "; empty: none
    QStringList order;   // expressions unique together and never null
    QString sortKey;     // sorted first by this expression (may be null), then by the order
    bool descending = false;  // every order expression (and the sort key) descending
    QVariantMap values;  // parameter (":name") → value

    // "select <columns> <from> [where <where>]" followed by `tail`.
    QString statement(const QString &tail = {}) const;
};

// Every row of the listing in its order: executed, to be read forward once (streaming), or
// all read at once and held. Throw sql::Failure.
QSqlQuery execute(const QSqlDatabase &db, const Listing &listing);
QList<QVariantList> readAll(const QSqlDatabase &db, const Listing &listing);

// The expressions of a select list, one per result column, without their aliases.
QStringList columnExpressions(const QString &columns);

// The listing sorted by one of its columns' values, ties in its own order; an empty value sorts
// as the smallest (first ascending, last descending).
Listing sortedBy(const Listing &listing, int column, Qt::SortOrder order);

// The listing narrowed to the rows whose employee code or name (the columns named 职工编码 and
// 职工姓名) holds `text` anywhere, taken literally (% _ \ match only themselves). A listing
// without such columns, or an empty text, is returned as it is.
Listing containing(const Listing &listing, const QString &text);

}  // namespace windowed

class WindowedRows : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kWindowRows = 128;
    static constexpr int kKeptWindows = 8;

    explicit WindowedRows(QStringList titles = {}, QObject *parent = nullptr);

    // Reads the listing's keys and its first window; after a failure the model keeps the list
    // it showed before. Throws sql::Failure.
    void open(const QSqlDatabase &db, windowed::Listing listing);
    void clear();

    // The rows sorted by a column's values, by the database; kept for the lists opened later.
    // A sort that cannot be read keeps the list as it was.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Only the rows whose code or name holds `text` (windowed::containing); kept likewise.
    // Throws sql::Failure.
    void setSearch(const QString &text);
    const QString &search() const { return search_; }
    // The list as shown (sorted and narrowed), for printing it in that order.
    const windowed::Listing &listing() const { return listing_; }

    // A field of a row by its result column name ("职工编码", an alias), or by column.
    QVariant value(int row, const QString &field) const;
    QVariant value(int row, int column) const;
    int heldRows() const;  // rows kept in memory now
    // A whole row, for printing: unlike the view's data(), a window that cannot be read throws
    // sql::Failure rather than showing blank.
    QVariantList row(int row) const;
    const QStringList &fields() const { return fields_; }  // the result column names

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Column roles besides the title (a money column's mark, say), kept across opens.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role = Qt::EditRole) override;

private:
    struct Window {
        QList<QVariantList> rows;
        quint64 used = 0;
    };
    const Window &window(int number) const;  // blank when it cannot be read
    const Window &keptWindow(int number) const;  // throws sql::Failure
    Window readWindow(int number, QStringList *fields = nullptr) const;

    QStringList titles_;
    std::map<std::pair<int, int>, QVariant> columnRoles_;  // (section, role) → value
    void reopen();  // the opened listing again, as now sorted and narrowed

    QSqlDatabase db_;
    windowed::Listing opened_;   // as the list's owner gave it
    windowed::Listing listing_;  // as read: sorted and narrowed
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString search_;
    QStringList fields_;               // result column names
    int count_ = 0;
    QList<QVariantList> windowStarts_;  // the order key of each window's first row
    // A list sorted by a column: the order key of every row, one after the other
    // (order.size() values a row), each window read as the rows with its keys.
    QVariantList sortedKeys_;
    mutable std::map<int, Window> kept_;
    mutable quint64 uses_ = 0;
};
