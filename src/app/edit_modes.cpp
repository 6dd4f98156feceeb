#include "app/edit_modes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

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
    for (const BarButton &spec : buttons) {
        auto *b = new QPushButton(spec.caption, this);
        b->setObjectName(spec.caption);
        b->setMinimumWidth(layout.minimumWidth);
        if (!layout.takeFocus)
            b->setFocusPolicy(Qt::NoFocus);
        if (spec.pressed)
            connect(b, &QPushButton::clicked, this, spec.pressed);
        buttons_[spec.action] = b;
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
    apply();
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
        }
    }
}

}  // namespace edit
