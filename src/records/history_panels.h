#pragma once
// The four work dynamics group panels ("单位动态", "职称动态", "职务动态", "岗位技能档次动态"),
// two to a row, each with the grid of one employee's rows in recording order. The editor adds
// its edit strips and the current-group highlight; the detail view shows them as they are.

#include "db/sorted_query_model.h"

#include <QSqlDatabase>
#include <QWidget>
#include <vector>

class QGroupBox;
class QTableView;
class QVBoxLayout;

class HistoryPanels : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPanels(const QSqlDatabase &db, QWidget *parent = nullptr);

    // Reads the employee's rows into the four grids (an empty code empties them).
    void showEmployee(const QString &code);
    void reload(int group);  // 0-based, in the order of records::historyGroups()
    QString employee() const { return employee_; }

    int groupCount() const { return int(groups_.size()); }
    QGroupBox *panel(int group) const { return groups_[size_t(group)].panel; }
    QTableView *grid(int group) const { return groups_[size_t(group)].grid; }
    SortedQueryModel *model(int group) const { return groups_[size_t(group)].model; }
    QVBoxLayout *panelLayout(int group) const { return groups_[size_t(group)].layout; }

    // The current group follows the focus into a panel, which is painted highlighted.
    void trackCurrentGroup();
    int currentGroup() const { return current_; }
    void setCurrentGroup(int group);

signals:
    void currentGroupChanged(int group);

private:
    struct Group {
        QGroupBox *panel;
        QTableView *grid;
        SortedQueryModel *model;
        QVBoxLayout *layout;
    };
    QSqlDatabase db_;
    std::vector<Group> groups_;
    QString employee_;
    int current_ = 0;
    bool highlight_ = false;
};
