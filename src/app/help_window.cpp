#include "app/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kHeadingRole = Qt::UserRole + 1;

}  // namespace

Tfrmhelp::Tfrmhelp(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName("Tfrmhelp");
    setWindowTitle(QStringLiteral("人事管理信息系统 使用说明"));
    resize(1000, 700);

    auto *left = new QWidget(this);
    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(QStringLiteral("查找"), left));
    search_ = new QLineEdit(left);
    search_->setPlaceholderText(QStringLiteral("输入要查找的字词"));
    search_->setClearButtonEnabled(true);
    column->addWidget(search_);
    contents_ = new QTreeWidget(left);
    contents_->setHeaderLabel(QStringLiteral("目录"));
    column->addWidget(contents_, 1);

    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(false);  // the guide links nothing outside itself

    auto *split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 740});
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(split);

    connect(search_, &QLineEdit::textChanged, this, &Tfrmhelp::fillContents);
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { openItem(item); });
    fillContents({});
}

void Tfrmhelp::fillContents(const QString &words)
{
    const QSignalBlocker quiet(contents_);
    contents_->clear();
    const QStringList wanted = words.split(' ', Qt::SkipEmptyParts);
    const auto matches = [&wanted](const help::Section &s) {
        for (const QString &w : wanted)
            if (!s.heading.contains(w, Qt::CaseInsensitive) && !s.text.contains(w, Qt::CaseInsensitive))
                return false;
        return true;
    };
    for (const help::Page &page : help::pages()) {
        auto *top = new QTreeWidgetItem(contents_, {page.title});
        top->setData(0, kPageRole, page.file);
        bool any = false;
        for (const help::Section &s : help::sections()) {
            if (s.page != page.file || s.level != 2 || !matches(s))
                continue;
            auto *item = new QTreeWidgetItem(top, {s.heading});
            item->setData(0, kPageRole, s.page);
            item->setData(0, kHeadingRole, s.heading);
            any = true;
        }
        // While searching, only the pages with a matching section stay listed.
        if (!wanted.isEmpty() && !any)
            delete top;
    }
    if (!wanted.isEmpty())
        contents_->expandAll();
}

void Tfrmhelp::openItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    showPage(item->data(0, kPageRole).toString());
    const QString heading = item->data(0, kHeadingRole).toString();
    if (!heading.isEmpty())
        scrollToHeading(heading);
    else
        browser_->verticalScrollBar()->setValue(0);
    // The first word searched for is marked on the page.
    const QString first = search_->text().split(' ', Qt::SkipEmptyParts).value(0);
    if (!first.isEmpty())
        browser_->find(first);
}

void Tfrmhelp::showPage(const QString &page)
{
    if (page == page_)
        return;
    page_ = page;
    browser_->setMarkdown(help::pageText(page));
}

void Tfrmhelp::scrollToHeading(const QString &heading)
{
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && block.text().trimmed() == heading) {
            QTextCursor at(block);
            browser_->setTextCursor(at);
            const QRectF box = browser_->document()->documentLayout()->blockBoundingRect(block);
            browser_->verticalScrollBar()->setValue(int(box.top()));
            return;
        }
    }
}

QString Tfrmhelp::headingInView() const
{
    // The section opened: the heading the cursor was put on, if the page shows it.
    const QTextBlock block = browser_->textCursor().block();
    if (block.blockFormat().headingLevel() == 0 || !browser_->viewport()->rect().contains(browser_->cursorRect()))
        return {};
    return block.text().trimmed();
}

void Tfrmhelp::showPlace(const std::optional<help::Place> &place)
{
    search_->clear();
    show();  // laid out at its size first, so the page scrolls to the right place
    raise();
    activateWindow();
    const QString page = place ? place->page : help::pages().front().file;
    // Choosing the item in the contents shows it.
    for (int i = 0; i < contents_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = contents_->topLevelItem(i);
        if (top->data(0, kPageRole).toString() != page)
            continue;
        QTreeWidgetItem *chosen = top;
        for (int k = 0; place && k < top->childCount(); ++k)
            if (top->child(k)->data(0, kHeadingRole).toString() == place->heading)
                chosen = top->child(k);
        contents_->setCurrentItem(chosen);
        openItem(chosen);
        break;
    }
}
