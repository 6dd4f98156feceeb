#pragma once
// "操作日志" (基础数据维护): the change log newest first, narrowed by employee, operator, table
// and date range; exported like every striped grid. Entries are never edited here; a
// 系统管理员 may clear those before the range's first day.

#include "app/function_screen.h"

class DateRangeBoxes;
class QComboBox;
class QLineEdit;
class QSqlQueryModel;
class StripedGrid;
class ScreenRegistry;

class Tfrmczrz : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmczrz(ScreenHost &host);

    QLineEdit *employeeBox() const { return employee_; }
    QComboBox *writerBox() const { return writer_; }
    QComboBox *tableBox() const { return table_; }
    DateRangeBoxes *range() const { return range_; }
    StripedGrid *grid() const { return grid_; }
    void showEntries();
    void clearOld();

private:
    QLineEdit *employee_;
    QComboBox *writer_;
    QComboBox *table_;
    DateRangeBoxes *range_;
    StripedGrid *grid_;
    QSqlQueryModel *rows_;
};

void registerChangeLogScreen(ScreenRegistry &registry);
