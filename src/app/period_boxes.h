#pragma once
// The year and month boxes of the pay and appraisal screens: stepped by their arrows only,
// without wrapping; years from 1980 to next year, starting on today's year and month. The
// date range boxes ("起始日期", "截止日期") start on 1 January of this year and on today.

class QBoxLayout;
class QDateEdit;
class QSpinBox;
class QWidget;

QSpinBox *makeYearBox(QWidget *parent);
QSpinBox *makeMonthBox(QWidget *parent);

struct DateRangeBoxes {
    QDateEdit *from;
    QDateEdit *to;
};
// The two boxes, each after its label, added to `layout`.
DateRangeBoxes addDateRangeBoxes(QBoxLayout *layout, QWidget *parent);
