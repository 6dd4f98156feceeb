#pragma once
// The year and month boxes of the pay and appraisal screens: stepped by their arrows only,
// without wrapping; years from 1980 to next year, starting on today's year and month. The date
// pickers of the statistics screens and the date ranges (date_range_boxes.h).

#include <QDate>
#include <functional>

class QDateEdit;
class QSpinBox;
class QWidget;

QSpinBox *makeYearBox(QWidget *parent);
QSpinBox *makeMonthBox(QWidget *parent);
// The boxes start on the pay month the operator chose last on a pay screen, and keep each
// month chosen for the next time.
void rememberPayMonth(QSpinBox *yearBox, QSpinBox *monthBox);

// A yyyy-MM-dd date box with a calendar; `chosen` runs when a date is picked in the calendar
// (by mouse or Enter) or typed and confirmed.
QDateEdit *makeDatePicker(const QDate &start, QWidget *parent, const std::function<void()> &chosen);
