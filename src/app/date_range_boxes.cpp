#include "app/date_range_boxes.h"

#include "app/period_boxes.h"
#include "db/clock.h"
#include "reports/layout.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>

DateRangeBoxes::DateRangeBoxes(const QString &fromLabel, const QString &toLabel, const QDate &from, const QDate &to,
                               QWidget *parent)
    : QWidget(parent), announcedFrom_(from), announcedTo_(to)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    const auto box = [this, row](const QString &label, const QDate &date) {
        row->addWidget(new QLabel(label, this));
        QDateEdit *b = makeDatePicker(date, this, [this] { chosen(); });
        row->addWidget(b);
        return b;
    };
    from_ = box(fromLabel, from);
    row->addSpacing(12);
    to_ = box(toLabel, to);
    row->addStretch();
}

DateRangeBoxes::DateRangeBoxes(QWidget *parent)
    : DateRangeBoxes(QStringLiteral("起始日期"), QStringLiteral("截止日期"),
                     QDate(clock_source::today().year(), 1, 1), clock_source::today(), parent)
{
}

QDate DateRangeBoxes::from() const { return from_->date(); }
QDate DateRangeBoxes::to() const { return to_->date(); }

QString DateRangeBoxes::text() const
{
    return report::dateRangeText(from(), to());
}

void DateRangeBoxes::chosen()
{
    if (from() == announcedFrom_ && to() == announcedTo_)
        return;
    announcedFrom_ = from();
    announcedTo_ = to();
    emit rangeChosen();
}
