#include "records/history_panels.h"

#include "app/failure_message.h"
#include "app/striped_grid.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "records/work_dynamics.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace {
const QString kNormal = QStringLiteral("QGroupBox { font-weight: bold; }");
const QString kHighlighted = QStringLiteral("QGroupBox { font-weight: bold; background: rgb(255, 244, 200); }");
}  // namespace

HistoryPanels::HistoryPanels(const QSqlDatabase &db, QWidget *parent) : QWidget(parent), db_(db)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto &groups = records::historyGroups();
    for (size_t i = 0; i < groups.size(); ++i) {
        Group g;
        g.panel = new QGroupBox(groups[i].caption, this);
        g.panel->setObjectName(groups[i].caption);
        g.panel->setStyleSheet(kNormal);
        g.grid = new StripedGrid(g.panel);
        g.grid->verticalHeader()->hide();
        g.grid->horizontalHeader()->setStretchLastSection(true);
        g.model = new SortedQueryModel(this);
        g.grid->setModel(g.model);
        g.layout = new QVBoxLayout(g.panel);
        g.layout->addWidget(g.grid, 1);
        layout->addWidget(g.panel, int(i) / 2, int(i) % 2);
        groups_.push_back(g);
    }
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
}

void HistoryPanels::showEmployee(const QString &code)
{
    employee_ = code;
    for (int i = 0; i < groupCount(); ++i)
        reload(i);
}

void HistoryPanels::reload(int group)
{
    const records::HistoryGroup &g = records::historyGroups()[size_t(group)];
    SortedQueryModel *model = groups_[size_t(group)].model;
    QTableView *grid = groups_[size_t(group)].grid;
    try {
        model->setQuery(records::historyRows(db_, g, employee_));
    } catch (const sql::Failure &e) {
        model->clear();
        failure_message::show(this, e, {.reading = true});
        return;
    }
    // Shown: the date and the names; the row number and the codes stay hidden.
    for (int c = 0; c < model->columnCount(); ++c) {
        const bool shown = c == records::kDateColumn || (c > records::kDateColumn && c <= records::kDateColumn + g.shown.size());
        grid->setColumnHidden(c, !shown);
        if (shown)
            model->setHeaderData(c, Qt::Horizontal, model->record().fieldName(c));
    }
    grid->setColumnWidth(records::kDateColumn, 90);
    if (model->rowCount() > 0)
        grid->selectRow(0);
}

void HistoryPanels::trackCurrentGroup()
{
    highlight_ = true;
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        for (int i = 0; i < groupCount(); ++i)
            if (now && panel(i)->isAncestorOf(now))
                setCurrentGroup(i);
    });
    setCurrentGroup(current_);
}

void HistoryPanels::setCurrentGroup(int group)
{
    const bool changed = group != current_;
    current_ = group;
    if (highlight_)
        for (int i = 0; i < groupCount(); ++i)
            panel(i)->setStyleSheet(i == current_ ? kHighlighted : kNormal);
    if (changed)
        emit currentGroupChanged(group);
}
