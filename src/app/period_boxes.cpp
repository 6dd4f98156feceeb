#include "app/period_boxes.h"

#include "db/clock.h"

#include <QBoxLayout>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

QSpinBox *steppedBox(int from, int to, int value, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(from, to);
    box->setValue(value);
    box->setWrapping(false);
    box->findChild<QLineEdit *>()->setReadOnly(true);
    return box;
}

QDateEdit *dateBox(const QDate &date, QWidget *parent)
{
    auto *box = new QDateEdit(date, parent);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return box;
}

}  // namespace

QSpinBox *makeYearBox(QWidget *parent)
{
    const int year = clock_source::today().year();
    return steppedBox(1980, year + 1, year, parent);
}

QSpinBox *makeMonthBox(QWidget *parent) { return steppedBox(1, 12, clock_source::today().month(), parent); }

DateRangeBoxes addDateRangeBoxes(QBoxLayout *layout, QWidget *parent)
{
    const QDate today = clock_source::today();
    const DateRangeBoxes boxes{dateBox(QDate(today.year(), 1, 1), parent), dateBox(today, parent)};
    layout->addWidget(new QLabel(QStringLiteral("起始日期"), parent));
    layout->addWidget(boxes.from);
    layout->addWidget(new QLabel(QStringLiteral("截止日期"), parent));
    layout->addWidget(boxes.to);
    return boxes;
}
