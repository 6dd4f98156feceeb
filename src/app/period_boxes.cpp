#include "app/period_boxes.h"

#include "app/operator_settings.h"
#include "db/clock.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QKeyEvent>
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

// A date typed over the whole box (Ctrl+A, "2018-03-15") is typed section by section from
// the year. The box would otherwise take the first digit as its whole text and keep part of
// the old year; and as it moves on by itself once a section is full ("2018", "03"), the "-"
// typed after such a section must not move it on a second time.
class WholeDateTyping : public QObject {
public:
    explicit WholeDateTyping(QDateEdit *box) : QObject(box), box_(box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut)
            receiving_ = QDateTimeEdit::NoSection;
        if (event->type() != QEvent::KeyPress)
            return false;
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        const QChar key = typed.size() == 1 ? typed.front() : QChar();
        if (key.isDigit()) {
            const QLineEdit *line = box_->findChild<QLineEdit *>();
            if (line && line->hasSelectedText() && line->selectedText() == line->text())
                box_->setSelectedSection(QDateTimeEdit::YearSection);
            receiving_ = box_->currentSection();
            return false;
        }
        if (key == '-' || key == '/' || key == '.')
            return receiving_ != QDateTimeEdit::NoSection && box_->currentSection() != receiving_;
        receiving_ = QDateTimeEdit::NoSection;
        return false;
    }

private:
    QDateEdit *box_;
    QDateTimeEdit::Section receiving_ = QDateTimeEdit::NoSection;  // the section the last digit went to
};

}  // namespace

QSpinBox *makeYearBox(QWidget *parent)
{
    const int year = clock_source::today().year();
    return steppedBox(1980, year + 1, year, parent);
}

QSpinBox *makeMonthBox(QWidget *parent) { return steppedBox(1, 12, clock_source::today().month(), parent); }

void rememberPayMonth(QSpinBox *yearBox, QSpinBox *monthBox)
{
    const QString key = QStringLiteral("pay/month");
    const QDate remembered = operator_settings::value(key).toDate();
    if (remembered.isValid()) {
        yearBox->setValue(remembered.year());
        monthBox->setValue(remembered.month());
    }
    const auto keep = [yearBox, monthBox, key] {
        operator_settings::setValue(key, QDate(yearBox->value(), monthBox->value(), 1));
    };
    QObject::connect(yearBox, &QSpinBox::valueChanged, yearBox, keep);
    QObject::connect(monthBox, &QSpinBox::valueChanged, monthBox, keep);
}

QDateEdit *makeDatePicker(const QDate &start, QWidget *parent, const std::function<void()> &chosen)
{
    auto *picker = new QDateEdit(start, parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("yyyy-MM-dd");
    new WholeDateTyping(picker);
    QObject::connect(picker->calendarWidget(), &QCalendarWidget::clicked, parent, chosen);
    QObject::connect(picker->calendarWidget(), &QCalendarWidget::activated, parent, chosen);
    QObject::connect(picker, &QDateEdit::editingFinished, parent, chosen);
    return picker;
}
