#include "db/windowed_rows.h"

#include "db/dialect.h"
#include "db/sql.h"

#include <QRegularExpression>
#include <QSqlRecord>

namespace windowed {
namespace {

QString select(const Listing &listing, const QString &columns, const QStringList &conditions, const QString &tail)
{
    QStringList where;
    for (const QString &c : conditions)
        if (!c.isEmpty())
            where << '(' + c + ')';  // a listing's "or" stays inside its own conditions
    return "select " + columns + ' ' + listing.from + (where.isEmpty() ? QString() : " where " + where.join(" and "))
           + tail;
}

QString orderBy(const Listing &listing)
{
    QStringList terms;
    // Standard SQL says where empty values go (engines differ when it is left out); both forms
    // are SQLite's own order, so an index still serves them.
    if (!listing.sortKey.isEmpty())
        terms << listing.sortKey + (listing.descending ? QStringLiteral(" desc nulls last") : QStringLiteral(" nulls first"));
    for (const QString &e : listing.order)
        terms << (listing.descending ? e + QStringLiteral(" desc") : e);
    return " order by " + terms.join(", ");
}

// The result column's name: its alias, else what follows the last dot.
QString resultName(const QString &column)
{
    static const QRegularExpression alias(QStringLiteral(R"(\s+as\s+("?)([^\s"]+)\1\s*$)"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = alias.match(column); m.hasMatch())
        return m.captured(2);
    return column.trimmed().section('.', -1);
}

QString withoutAlias(const QString &column)
{
    static const QRegularExpression alias(QStringLiteral(R"(\s+as\s+"?[^\s"]+"?\s*$)"), QRegularExpression::CaseInsensitiveOption);
    return QString(column).remove(alias).trimmed();
}

// The select list split at its top-level commas (not those inside brackets or quotes).
QStringList selectItems(const QString &columns)
{
    QStringList items;
    int depth = 0;
    QChar quote;
    QString current;
    for (const QChar c : columns) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == ',' && depth == 0) {
            items << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        items << current.trimmed();
    return items;
}

// The first key of every window of `rows` rows (as wk0, wk1, …) and the number of rows
// (wcount), one row per window, worked out by the database.
QString windowStarts(const Listing &listing, int rows)
{
    QStringList keys;
    for (int i = 0; i < listing.order.size(); ++i)
        keys << QStringLiteral("%1 as wk%2").arg(listing.order.at(i)).arg(i);
    const QString numbered =
        select(listing, keys.join(", ") + ", row_number() over (" + orderBy(listing).trimmed() + ") as wrn, count(*) over () as wcount",
               {listing.where}, {});
    return QStringLiteral("select * from (%1) w where w.wrn % %2 = 1 order by w.wrn").arg(numbered).arg(rows);
}

void bind(QSqlQuery &q, const QVariantMap &values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        q.bindValue(it.key(), it.value());
}

}  // namespace

QString Listing::statement(const QString &tail) const { return select(*this, columns, {where}, tail); }

QSqlQuery execute(const QSqlDatabase &db, const Listing &listing)
{
    QSqlQuery q = sql::prepare(db, listing.statement(orderBy(listing)));
    q.setForwardOnly(true);
    bind(q, listing.values);
    sql::exec(q);
    return q;
}

QStringList columnExpressions(const QString &columns)
{
    QStringList expressions;
    for (const QString &item : selectItems(columns))
        expressions << withoutAlias(item);
    return expressions;
}

Listing sortedBy(const Listing &listing, int column, Qt::SortOrder order)
{
    const QStringList expressions = columnExpressions(listing.columns);
    if (column < 0 || column >= expressions.size())
        return listing;
    Listing sorted = listing;
    sorted.sortKey = expressions.at(column);
    sorted.descending = order == Qt::DescendingOrder;
    return sorted;
}

Listing containing(const Listing &listing, const QString &text)
{
    if (text.isEmpty())
        return listing;
    QString literal = text;
    literal.replace('\\', QStringLiteral("\\\\")).replace('%', QStringLiteral("\\%")).replace('_', QStringLiteral("\\_"));
    Listing narrowed = listing;
    QStringList matched;
    for (const QString &item : selectItems(listing.columns)) {
        const QString name = resultName(item);
        if (name != QStringLiteral("职工编码") && name != QStringLiteral("职工姓名"))
            continue;
        const QString parameter = QStringLiteral(":wsearch%1").arg(matched.size());
        matched << withoutAlias(item) + QStringLiteral(" like %1 escape '\\'").arg(parameter);
        narrowed.values.insert(parameter, '%' + literal + '%');
    }
    if (matched.isEmpty())
        return listing;
    narrowed.where = (listing.where.isEmpty() ? QString() : '(' + listing.where + ") and ") + '(' + matched.join(" or ") + ')';
    return narrowed;
}

QList<QVariantList> readAll(const QSqlDatabase &db, const Listing &listing)
{
    QSqlQuery q = execute(db, listing);
    const int columns = q.record().count();
    QList<QVariantList> all;
    while (q.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << sql::cell(q, i);
        all << row;
    }
    return all;
}

}  // namespace windowed

namespace {

// "(k1, k2) >= (:lo0, :lo1)": a key range as one row-value comparison, which the index on
// the order serves.
QString keyBound(const QStringList &order, const QString &op, const QString &prefix)
{
    QStringList names;
    for (int i = 0; i < order.size(); ++i)
        names << ':' + prefix + QString::number(i);
    return '(' + order.join(", ") + ") " + op + " (" + names.join(", ") + ')';
}

// Rows from a window's first key on (`from`), or before the next window's first key.
QString rangeBound(const windowed::Listing &listing, bool from, const QString &prefix)
{
    const bool up = !listing.descending;
    const QString op = from ? (up ? QStringLiteral(">=") : QStringLiteral("<=")) : (up ? QStringLiteral("<") : QStringLiteral(">"));
    return keyBound(listing.order, op, prefix);
}

// "(k1, k2) in (values (:wk0, :wk1), …)" for `rows` keys, or "k1 in (:wk0, …)" for a key of
// one expression: the rows of a sorted list's window, found through the index on the order.
// No keys: no rows.
QString keysIn(const QStringList &order, qsizetype rows)
{
    if (rows == 0)
        return QStringLiteral("1=0");
    QStringList tuples;
    int n = 0;
    for (qsizetype r = 0; r < rows; ++r) {
        QStringList names;
        for (qsizetype i = 0; i < order.size(); ++i)
            names << QStringLiteral(":wk%1").arg(n++);
        tuples << (order.size() == 1 ? names.front() : '(' + names.join(", ") + ')');
    }
    if (order.size() == 1)
        return order.front() + " in (" + tuples.join(", ") + ')';
    return '(' + order.join(", ") + ") in (values " + tuples.join(", ") + ')';
}

void bindKey(QSqlQuery &q, const QString &prefix, const QVariantList &key)
{
    for (int i = 0; i < key.size(); ++i)
        q.bindValue(':' + prefix + QString::number(i), key.at(i));
}

}  // namespace

WindowedRows::WindowedRows(QStringList titles, QObject *parent)
    : QAbstractTableModel(parent), titles_(std::move(titles))
{
}

void WindowedRows::open(const QSqlDatabase &db, windowed::Listing listing)
{
    // Read into a second model first, so a failure leaves the list as it was.
    WindowedRows next;
    next.db_ = db;
    next.listing_ = windowed::containing(windowed::sortedBy(listing, sortColumn_, sortOrder_), search_);
    // One pass over the keys alone: the count and where each window starts (of a sorted list,
    // every row's key). Where rows travel over a connection, the database sends only the start
    // of each window and the count instead of every key.
    const bool sorted = !next.listing_.sortKey.isEmpty();
    const bool startsOnly = !sorted && sql::dialect(db).sendsRows();
    QSqlQuery keys = sql::prepare(db, startsOnly ? windowed::windowStarts(next.listing_, kWindowRows)
                                                 : windowed::select(next.listing_, next.listing_.order.join(", "),
                                                                    {next.listing_.where}, windowed::orderBy(next.listing_)));
    keys.setForwardOnly(true);
    windowed::bind(keys, next.listing_.values);
    sql::exec(keys);
    const int width = int(next.listing_.order.size());
    while (keys.next()) {
        if (sorted) {
            for (int i = 0; i < width; ++i)
                next.sortedKeys_ << keys.value(i);
        } else if (startsOnly || next.count_ % kWindowRows == 0) {
            QVariantList key;
            for (int i = 0; i < width; ++i)
                key << keys.value(i);
            next.windowStarts_ << key;
        }
        next.count_ = startsOnly ? keys.value(width + 1).toInt() : next.count_ + 1;
    }
    // The first window also names the columns, even of an empty list.
    next.kept_[0] = next.readWindow(0, &next.fields_);

    beginResetModel();
    db_ = next.db_;
    opened_ = std::move(listing);
    listing_ = std::move(next.listing_);
    fields_ = std::move(next.fields_);
    count_ = next.count_;
    windowStarts_ = std::move(next.windowStarts_);
    sortedKeys_ = std::move(next.sortedKeys_);
    kept_ = std::move(next.kept_);
    kept_[0].used = ++uses_;
    endResetModel();
}

void WindowedRows::reopen()
{
    if (db_.isValid())
        open(db_, opened_);
}

void WindowedRows::sort(int column, Qt::SortOrder order)
{
    const int oldColumn = sortColumn_;
    const Qt::SortOrder oldOrder = sortOrder_;
    sortColumn_ = column;
    sortOrder_ = order;
    try {
        reopen();
    } catch (const sql::Failure &e) {
        sortColumn_ = oldColumn;
        sortOrder_ = oldOrder;
        qWarning("list not sorted: %s", qPrintable(e.message()));
    }
}

void WindowedRows::setSearch(const QString &text)
{
    const QString old = search_;
    search_ = text;
    try {
        reopen();
    } catch (const sql::Failure &) {
        search_ = old;
        throw;
    }
}

void WindowedRows::clear()
{
    beginResetModel();
    count_ = 0;
    fields_.clear();
    windowStarts_.clear();
    sortedKeys_.clear();
    kept_.clear();
    endResetModel();
}

WindowedRows::Window WindowedRows::readWindow(int number, QStringList *fields) const
{
    QStringList conditions = {listing_.where};
    QVariantList keys;
    if (!listing_.sortKey.isEmpty()) {
        // The window's rows by their keys; an empty list still names its columns.
        const qsizetype width = listing_.order.size();
        keys = sortedKeys_.mid(qsizetype(number) * kWindowRows * width, kWindowRows * width);
        conditions << keysIn(listing_.order, keys.size() / width);
    } else {
        if (number < windowStarts_.size())
            conditions << rangeBound(listing_, true, "wlo");
        if (number + 1 < windowStarts_.size())
            conditions << rangeBound(listing_, false, "whi");
    }
    QSqlQuery q = sql::prepare(db_, windowed::select(listing_, listing_.columns + ", " + listing_.order.join(", "),
                                                 conditions,
                                                 windowed::orderBy(listing_) + " limit " + QString::number(kWindowRows)));
    q.setForwardOnly(true);
    windowed::bind(q, listing_.values);
    if (!listing_.sortKey.isEmpty()) {
        for (qsizetype i = 0; i < keys.size(); ++i)
            q.bindValue(QStringLiteral(":wk%1").arg(i), keys.at(i));
    } else {
        if (number < windowStarts_.size())
            bindKey(q, "wlo", windowStarts_.at(number));
        if (number + 1 < windowStarts_.size())
            bindKey(q, "whi", windowStarts_.at(number + 1));
    }
    sql::exec(q);
    const int shown = q.record().count() - int(listing_.order.size());
    if (fields)
        for (int i = 0; i < shown; ++i)
            *fields << q.record().fieldName(i);
    Window w;
    while (q.next()) {
        QVariantList row;
        row.reserve(shown);
        for (int i = 0; i < shown; ++i)
            row << sql::cell(q, i);
        w.rows << row;
    }
    return w;
}

const WindowedRows::Window &WindowedRows::window(int number) const
{
    try {
        return keptWindow(number);
    } catch (const sql::Failure &e) {
        // Shown blank and tried again when next looked at.
        qWarning("list window not read: %s", qPrintable(e.message()));
        static const Window none;
        return none;
    }
}

const WindowedRows::Window &WindowedRows::keptWindow(int number) const
{
    auto found = kept_.find(number);
    if (found == kept_.end()) {
        Window read = readWindow(number);
        if (kept_.size() >= size_t(kKeptWindows)) {
            auto oldest = kept_.begin();
            for (auto it = kept_.begin(); it != kept_.end(); ++it)
                if (it->second.used < oldest->second.used)
                    oldest = it;
            kept_.erase(oldest);
        }
        found = kept_.emplace(number, std::move(read)).first;
    }
    found->second.used = ++uses_;
    return found->second;
}

QVariant WindowedRows::value(int row, int column) const
{
    if (row < 0 || row >= count_)
        return {};
    // A row deleted since the list was opened leaves its place blank until the list is read again.
    return window(row / kWindowRows).rows.value(row % kWindowRows).value(column);
}

QVariantList WindowedRows::row(int row) const
{
    if (row < 0 || row >= count_)
        return {};
    return keptWindow(row / kWindowRows).rows.value(row % kWindowRows);
}

QVariant WindowedRows::value(int row, const QString &field) const
{
    const int column = int(fields_.indexOf(field));
    return column < 0 ? QVariant() : value(row, column);
}

int WindowedRows::heldRows() const
{
    int held = 0;
    for (const auto &[number, w] : kept_)
        held += int(w.rows.size());
    return held;
}

int WindowedRows::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : count_; }

int WindowedRows::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(titles_.isEmpty() ? fields_.size() : titles_.size());
}

QVariant WindowedRows::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return value(index.row(), index.column());
}

QVariant WindowedRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return titles_.isEmpty() ? fields_.value(section) : titles_.value(section);
    if (orientation == Qt::Horizontal)
        if (const auto kept = columnRoles_.find({section, role}); kept != columnRoles_.end())
            return kept->second;
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool WindowedRows::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || role == Qt::DisplayRole)
        return false;
    columnRoles_[{section, role}] = value;
    emit headerDataChanged(orientation, section, section);
    return true;
}
