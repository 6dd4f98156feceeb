#include "query/condition_list.h"

#include "app/failure_message.h"
#include "app/grid_export.h"
#include "db/sql.h"
#include "export/xlsx_export.h"
#include "query/condition_dialog.h"

#include <memory>

namespace {
QStringList titlesOf(const std::vector<query::ListColumn> &columns)
{
    QStringList titles;
    for (const query::ListColumn &c : columns)
        titles << c.title;
    return titles;
}
}  // namespace

ConditionList::ConditionList(const QSqlDatabase &db, Describe describe, std::vector<query::ListColumn> columns,
                             QWidget *parent)
    : StripedGrid(parent), db_(db), describe_(std::move(describe)),
      model_(new WindowedRows(titlesOf(columns), this))
{
    for (size_t i = 0; i < columns.size(); ++i)
        model_->setHeaderData(int(i), Qt::Horizontal, columns[i].money, xlsx::kMoneyColumnRole);
    setModel(model_);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ConditionList::currentRowChanged);
}

void ConditionList::showList(const query::Condition &condition)
{
    try {
        model_->open(db_, describe_(condition));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = QStringLiteral("查询失败"), .reading = true});
        return;
    }
    condition_ = condition;
    grid_export::setExportCoverage(*this, coverage());
    selectRow(0);
    emit currentRowChanged();
}

QString ConditionList::coverage() const
{
    return condition_.description.isEmpty() ? QString() : QStringLiteral("查询条件：") + condition_.description;
}

void ConditionList::askCondition(QWidget *workArea)
{
    if (const std::optional<query::Condition> condition = Tfrmzgcx::ask(db_, workArea, this))
        showList(*condition);
}

QString ConditionList::currentValue(const QString &field) const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->value(current.row(), field).toString() : QString();
}
