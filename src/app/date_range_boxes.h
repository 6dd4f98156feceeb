#pragma once
// Two date boxes with calendars that say when a range was chosen: a day picked in a calendar
// (by mouse or Enter) or typed and confirmed. Typing digit by digit passes through dates
// nobody meant, so the range is announced only then, and only when it differs from the last.

#include <QDate>
#include <QWidget>

class QDateEdit;

class DateRangeBoxes : public QWidget {
    Q_OBJECT
public:
    // Labels before the two boxes ("起始日期", "截止日期"), and their first dates.
    DateRangeBoxes(const QString &fromLabel, const QString &toLabel, const QDate &from, const QDate &to,
                   QWidget *parent);
    // "起始日期" from 1 January of this year, "截止日期" today.
    explicit DateRangeBoxes(QWidget *parent);

    QDateEdit *fromBox() const { return from_; }
    QDateEdit *toBox() const { return to_; }
    QDate from() const;
    QDate to() const;
    // "2025-01-01 至 2025-12-31", for printed titles.
    QString text() const;

signals:
    void rangeChosen();

private:
    void chosen();

    QDateEdit *from_;
    QDateEdit *to_;
    QDate announcedFrom_;
    QDate announcedTo_;
};
