#include "app/period_boxes.h"

#include "db/clock.h"

#include <QCalendarWidget>
#include <QDateEdit>
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

}  // namespace

QSpinBox *makeYearBox(QWidget *parent)
{
    const int year = clock_source::today().year();
    return steppedBox(1980, year + 1, year, parent);
}

QSpinBox *makeMonthBox(QWidget *parent) { return steppedBox(1, 12, clock_source::today().month(), parent); }

QDateEdit *makeDatePicker(const QDate &start, QWidget *parent, const std::function<void()> &chosen)
{
    auto *picker = new QDateEdit(start, parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("yyyy-MM-dd");
    QObject::connect(picker->calendarWidget(), &QCalendarWidget::clicked, parent, chosen);
    QObject::connect(picker->calendarWidget(), &QCalendarWidget::activated, parent, chosen);
    QObject::connect(picker, &QDateEdit::editingFinished, parent, chosen);
    return picker;
}
