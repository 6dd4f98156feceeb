#pragma once
// The year and month boxes of the pay and appraisal screens: stepped by their arrows only,
// without wrapping; years from 1980 to next year, starting on today's year and month.

class QSpinBox;
class QWidget;

QSpinBox *makeYearBox(QWidget *parent);
QSpinBox *makeMonthBox(QWidget *parent);
