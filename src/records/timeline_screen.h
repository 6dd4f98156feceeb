#pragma once
// Personal work dynamics statistics: the employee search panel (arrows without action) and
// the timeline of the selected employee, rebuilt in gzdtjlb whenever the selection moves.

#include "app/function_screen.h"
#include "db/sorted_query_model.h"

class EmployeeHeader;
class EmployeeSearchPanel;
class StripedGrid;

class Tfrmgzdttj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmgzdttj(ScreenHost &host);

    EmployeeSearchPanel *search() const { return search_; }
    StripedGrid *grid() const { return grid_; }
    SortedQueryModel *model() const { return model_; }

    void showTimeline();  // rebuilds gzdtjlb for the selected employee and shows it
    void print();         // the first "打印"
    void exportTimeline();  // "导出Excel…"

private:
    // Before printing or exporting: when another program has built gzdtjlb for someone else
    // since, builds it again and says so under `title` (`action`: "打印", "导出"). Throws
    // sql::Failure.
    void rebuildIfChanged(const QString &title, const QString &action);

    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    StripedGrid *grid_;
    SortedQueryModel *model_;
};
