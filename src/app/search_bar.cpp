#include "app/search_bar.h"

#include "app/failure_message.h"
#include "app/striped_grid.h"
#include "db/sql.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

SearchBar::SearchBar(QWidget *screen, std::vector<StripedGrid *> grids) : QWidget(screen), grids_(std::move(grids))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("查找"), this));
    box_ = new QLineEdit(this);
    box_->setPlaceholderText(QStringLiteral("职工编码或姓名（Ctrl+F）"));
    box_->setClearButtonEnabled(true);
    box_->setMaxLength(50);
    box_->setObjectName(QStringLiteral("quickSearch"));
    row->addWidget(box_, 1);
    connect(box_, &QLineEdit::textChanged, this, &SearchBar::narrow);
    auto *find = new QShortcut(QKeySequence::Find, screen, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, box_, [this] {
        box_->setFocus(Qt::ShortcutFocusReason);
        box_->selectAll();
    });
}

QString SearchBar::text() const { return box_->text(); }

void SearchBar::narrow(const QString &text)
{
    try {
        for (StripedGrid *grid : grids_)
            grid->search(text);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = QStringLiteral("查找"), .reading = true});
    }
    emit textEdited(text);
}
