#pragma once
// The one screen of every statistics table: toolbar with "打印", the chart buttons and "返回";
// the cut-off date picker; the striped grid with its group captions. A description says what
// differs between the tables.

#include "app/function_screen.h"
#include "stats/count_columns.h"
#include "stats/pie_slices.h"

#include <QDate>
#include <vector>

class QDateEdit;
class QLabel;
class QPushButton;
class QSqlQueryModel;
class StripedGrid;
class GroupCaptionBar;

using GridColumn = stats::TitledColumn;

struct GroupCaption {
    QString caption;
    QString firstField;
    QString lastField;
};

struct StatisticsDescription {
    QString className;
    QString titleBar;     // "  职工花名册 >> 职工基本情况分析表"
    QString workTable;    // a key of stats::workTables()
    QString gridLabel;    // "分析表" or "统计表"
    QString nameColumn;   // the column naming a row in chart titles
    std::vector<GridColumn> columns;
    std::vector<GroupCaption> groups;
    std::vector<stats::ChartButton> charts;
};

class StatisticsScreen : public FunctionScreen {
    Q_OBJECT
public:
    StatisticsScreen(ScreenHost &host, const StatisticsDescription &description);

    QDateEdit *cutoffPicker() const { return cutoff_; }
    StripedGrid *grid() const { return grid_; }
    QSqlQueryModel *model() const { return model_; }

    // Rebuilds the work table for the picker's date and shows it; on failure the previous
    // rows stay and the database's message is shown.
    void insertdata();
    // Opens the pie chart of the selected row for one of the description's chart buttons.
    QWidget *showChart(const stats::ChartButton &chart);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cutoffChosen();

    const StatisticsDescription &description_;
    QDateEdit *cutoff_;
    StripedGrid *grid_;
    QSqlQueryModel *model_;
    GroupCaptionBar *captions_;
    QDate built_;
};
