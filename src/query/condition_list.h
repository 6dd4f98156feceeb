#pragma once
// The list of a condition query screen: a base statement's rows in a striped grid, narrowed
// by the combined-condition dialog. Each search starts again from the base; a cancelled
// dialog leaves the list as it was. The rows are read a window at a time (WindowedRows).

#include "app/striped_grid.h"
#include "db/windowed_rows.h"
#include "query/basic_situation.h"
#include "query/condition.h"

#include <functional>
#include <vector>

class ConditionList : public StripedGrid {
    Q_OBJECT
public:
    // The base list narrowed by a condition (query::currentRowsListing for lists of employees).
    using Describe = std::function<windowed::Listing(const query::Condition &)>;

    ConditionList(const QSqlDatabase &db, Describe describe, std::vector<query::ListColumn> columns,
                  QWidget *parent = nullptr);

    WindowedRows *model() const { return model_; }
    const query::Condition &condition() const { return condition_; }
    // The condition in words for headings and workbooks ("查询条件：…"); empty without one.
    QString coverage() const;

    // Shows the base rows narrowed by `condition`; on a failure says why and keeps the list.
    void showList(const query::Condition &condition);
    // "查询条件": the dialog, centred over `workArea`.
    void askCondition(QWidget *workArea);
    // The field of the selected row; empty when no row is selected.
    QString currentValue(const QString &field) const;

signals:
    void currentRowChanged();

private:
    QSqlDatabase db_;
    Describe describe_;
    query::Condition condition_;
    WindowedRows *model_;
};
