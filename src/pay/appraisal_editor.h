#pragma once
// The annual appraisal editor: the departments on duty on the left; on the right the year,
// "生成考核表" for a year without a sheet, and the selected department's rows of the year's
// sheet, each result marked by a click in its "优秀", "及格" or "不及格" cell and saved at once.

#include "app/function_screen.h"
#include "pay/appraisal.h"

#include <vector>

class QPushButton;
class QSpinBox;
class RowsModel;
class StripedGrid;

class Tfrmndkhbj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmndkhbj(ScreenHost &host);

    StripedGrid *departments() const { return departments_; }
    StripedGrid *sheet() const { return sheet_; }
    QSpinBox *year() const { return year_; }
    QPushButton *generateButton() const { return generate_; }

    void generate();
    // A click in the cell: a result column marks the row's result.
    void mark(const QModelIndex &cell);

private:
    void load();
    void showDepartment();

    StripedGrid *departments_;
    RowsModel *departmentRows_;
    QSpinBox *year_;
    QPushButton *generate_;
    StripedGrid *sheet_;
    RowsModel *sheetRows_;
    std::vector<pay::AppraisalRow> rows_;  // the year's whole sheet
};
