#pragma once
// The list of a condition query screen: a base statement's rows in a striped grid, narrowed
// by the combined-condition dialog. Each search starts again from the base; a cancelled
// dialog leaves the list as it was.

#include "app/striped_grid.h"
#include "query/basic_situation.h"
#include "query/condition.h"

#include <functional>
#include <vector>

class QSqlQueryModel;

class ConditionList : public StripedGrid {
    Q_OBJECT
public:
    using Read = std::function<QSqlQuery(const QSqlDatabase &, const query::Condition &)>;

    ConditionList(const QSqlDatabase &db, Read read, std::vector<query::ListColumn> columns,
                  QWidget *parent = nullptr);

    QSqlQueryModel *model() const { return model_; }
    const query::Condition &condition() const { return condition_; }

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
    Read read_;
    std::vector<query::ListColumn> columns_;
    query::Condition condition_;
    QSqlQueryModel *model_;
};
