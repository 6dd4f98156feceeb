#pragma once
// 职工个人培训情况统计: the employee search panel on the left; on the right the selected
// employee's courses with the position held at each course date, "打印" and "返回".

#include "app/function_screen.h"
#include "db/sorted_query_model.h"

class EmployeeHeader;
class EmployeeSearchPanel;
class StripedGrid;

class Tfrmgrpxjltj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmgrpxjltj(ScreenHost &host);

    EmployeeSearchPanel *search() const { return search_; }
    StripedGrid *courses() const { return grid_; }
    SortedQueryModel *courseRows() const { return model_; }

private:
    void showEmployee(const QString &code, const QString &name);
    void print();

    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    StripedGrid *grid_;
    SortedQueryModel *model_;
};
