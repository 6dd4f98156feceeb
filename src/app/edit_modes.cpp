#include "app/edit_modes.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

namespace edit {

ModeBar::ModeBar(const std::vector<BarButton> &buttons, const BarLayout &layout, QWidget *parent) : QWidget(parent)
{
    QGridLayout *grid = nullptr;
    QHBoxLayout *row = nullptr;
    if (layout.columns > 0)
        grid = new QGridLayout(this);
    else
        row = new QHBoxLayout(this);
    (grid ? static_cast<QLayout *>(grid) : row)->setContentsMargins(0, 0, 0, 0);
    if (row)
        row->addStretch();
    int i = 0;
    for (const BarButton &entry : buttons) {
        auto *b = new QPushButton(entry.caption, this);
        b->setObjectName(entry.caption);
        b->setMinimumWidth(layout.minimumWidth);
        if (!layout.takeFocus)
            b->setFocusPolicy(Qt::NoFocus);
        if (entry.pressed)
            connect(b, &QPushButton::clicked, this, entry.pressed);
        buttons_[entry.action] = b;
        if (grid)
            grid->addWidget(b, i / layout.columns, i % layout.columns);
        else
            row->addWidget(b);
        ++i;
    }
    apply();
}

QPushButton *ModeBar::button(Action action) const
{
    const auto it = buttons_.find(action);
    return it == buttons_.end() ? nullptr : it->second;
}

void ModeBar::enable(QWidget *widget, When when)
{
    widgets_.emplace_back(widget, when);
    QList<QWidget *> boxes = widget->findChildren<QWidget *>();
    boxes.prepend(widget);
    for (QWidget *box : boxes)
        if (qobject_cast<QLineEdit *>(box) || qobject_cast<QComboBox *>(box) || qobject_cast<QAbstractSpinBox *>(box))
            box->installEventFilter(this);
    apply();
}

bool ModeBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || mode_ == Mode::Browse)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    QPushButton *target = nullptr;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        target = button(Action::Save);
    else if (key == Qt::Key_Escape)
        target = button(Action::Ignore);
    if (target && target->isEnabled())
        // After the box has taken the key (a code is completed with its zeros on Enter).
        QMetaObject::invokeMethod(target, &QPushButton::click, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void ModeBar::setMode(Mode mode)
{
    mode_ = mode;
    apply();
    emit modeChanged(mode);
}

void ModeBar::setRowShown(bool shown)
{
    rowShown_ = shown;
    apply();
}

namespace {

// Text boxes and spin boxes become read-only, lists and buttons disabled; labels and pictures
// are left as they are.
void setEditable(QWidget *container, bool editable)
{
    QList<QWidget *> widgets = container->findChildren<QWidget *>();
    widgets.prepend(container);
    for (QWidget *w : widgets) {
        if (auto *line = qobject_cast<QLineEdit *>(w))
            line->setReadOnly(!editable);
        else if (auto *text = qobject_cast<QTextEdit *>(w))
            text->setReadOnly(!editable);
        else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
            plain->setReadOnly(!editable);
        else if (auto *spin = qobject_cast<QAbstractSpinBox *>(w))
            spin->setReadOnly(!editable);
        else if (qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w))
            w->setEnabled(editable);
    }
}

}  // namespace

void ModeBar::apply()
{
    const bool browsing = mode_ == Mode::Browse;
    for (const auto &[action, b] : buttons_) {
        switch (action) {
        case Action::Add:
        case Action::Return: b->setEnabled(browsing); break;
        case Action::Modify:
        case Action::Delete: b->setEnabled(browsing && rowShown_); break;
        case Action::Save:
        case Action::Ignore: b->setEnabled(!browsing); break;
        }
    }
    for (const auto &[widget, when] : widgets_) {
        switch (when) {
        case When::Browsing: widget->setEnabled(browsing); break;
        case When::Editing: widget->setEnabled(!browsing); break;
        case When::Adding: widget->setEnabled(mode_ == Mode::Adding); break;
        case When::ReadOnlyWhileBrowsing: setEditable(widget, !browsing); break;
        }
    }
}

}  // namespace edit
