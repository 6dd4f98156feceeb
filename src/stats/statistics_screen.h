#pragma once
// The one screen of every statistics table: toolbar with "打印", the chart buttons and "返回";
// the cut-off date picker (or "起始日期" and "截止日期" for a table counted over a range); the striped grid with its group captions. The table's description
// says what differs between the tables.

#include "app/function_screen.h"
#include "stats/statistics_table.h"

#include <QDate>

class QDateEdit;
class QHBoxLayout;
class QSqlQueryModel;
class StripedGrid;
class GroupCaptionBar;

class StatisticsScreen : public FunctionScreen {
    Q_OBJECT
public:
    StatisticsScreen(ScreenHost &host, const stats::TableDescription &table);

    QDateEdit *cutoffPicker() const { return cutoff_; }
    QDateEdit *startPicker() const { return start_; }  // nullptr for a cut-off table
    StripedGrid *grid() const { return grid_; }
    QSqlQueryModel *model() const { return model_; }
    QDate builtFor() const { return built_.to; }
    const stats::Period &builtPeriod() const { return built_; }

    // Rebuilds the work table for the pickers' dates and shows it; on failure the previous
    // rows stay and the database's message is shown.
    void insertdata();
    // Opens the pie chart of the selected row in place of the screen's controls. The chart is
    // the screen's own: it closes with the screen, however the screen closes.
    QWidget *showChart(const stats::Chart &chart);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Before printing or exporting: when another program has rebuilt the work table since it
    // was shown, builds it again for the screen's dates and says so under `title` (`action`:
    // "打印", "导出"). Throws sql::Failure.
    void rebuildIfChanged(const QString &title, const QString &action);
    void cutoffChosen();
    stats::Period chosenPeriod() const;
    QDateEdit *addDatePicker(QHBoxLayout *row, const QString &label, const QDate &start);

    const stats::TableDescription &table_;
    QWidget *content_;
    QDateEdit *start_ = nullptr;
    QDateEdit *cutoff_;
    StripedGrid *grid_;
    QSqlQueryModel *model_;
    GroupCaptionBar *captions_;
    stats::Period built_{QDate()};
};
