#pragma once
// The user guide's window: the contents (pages and their sections) and a search box on the
// left, the page on the right. One window for the whole program, opened by F1 and "帮助" at
// the section about the screen in front.

#include "app/help_guide.h"

#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class Tfrmhelp : public QWidget {
    Q_OBJECT
public:
    explicit Tfrmhelp(QWidget *parent = nullptr);

    // Shows the section (the start page for none) and brings the window to the front.
    void showPlace(const std::optional<help::Place> &place);

    QString currentPage() const { return page_; }
    // The heading of the section opened, when the page shows it; empty otherwise.
    QString headingInView() const;
    QLineEdit *searchBox() const { return search_; }
    QTreeWidget *contents() const { return contents_; }
    QTextBrowser *browser() const { return browser_; }

private:
    void fillContents(const QString &words);
    void openItem(QTreeWidgetItem *item);
    void showPage(const QString &page);
    void scrollToHeading(const QString &heading);

    QLineEdit *search_;
    QTreeWidget *contents_;
    QTextBrowser *browser_;
    QString page_;
};
