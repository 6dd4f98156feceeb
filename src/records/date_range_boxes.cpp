#include "records/date_range_boxes.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>

DateRangeBoxes::DateRangeBoxes(const QString &fromLabel, const QString &toLabel, const QDate &from, const QDate &to,
                               QWidget *parent)
    : QWidget(parent), announcedFrom_(from), announcedTo_(to)
{
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(4, 2, 4, 2);
    const auto box = [this](const QString &label, const QDate &date) {
        row_->addWidget(new QLabel(label, this));
        auto *b = new QDateEdit(date, this);
        b->setCalendarPopup(true);
        b->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        connect(b->calendarWidget(), &QCalendarWidget::clicked, this, &DateRangeBoxes::chosen);
        connect(b->calendarWidget(), &QCalendarWidget::activated, this, &DateRangeBoxes::chosen);
        connect(b, &QDateEdit::editingFinished, this, &DateRangeBoxes::chosen);
        row_->addWidget(b);
        return b;
    };
    from_ = box(fromLabel, from);
    row_->addSpacing(12);
    to_ = box(toLabel, to);
    row_->addStretch();
}

QDate DateRangeBoxes::from() const { return from_->date(); }
QDate DateRangeBoxes::to() const { return to_->date(); }

QString DateRangeBoxes::text() const
{
    return QStringLiteral("%1 至 %2").arg(from().toString(Qt::ISODate), to().toString(Qt::ISODate));
}

void DateRangeBoxes::chosen()
{
    if (from() == announcedFrom_ && to() == announcedTo_)
        return;
    announcedFrom_ = from();
    announcedTo_ = to();
    emit rangeChosen();
}
