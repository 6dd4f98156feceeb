#pragma once
// "查找" above a list of employees: what is typed narrows the lists given to the rows whose
// code or name holds it (StripedGrid::search), as one types; Ctrl+F on the screen puts the
// cursor into the box. A screen that finds in its own way (the employee editor) listens to
// textEdited instead of giving lists.

#include <QWidget>
#include <vector>

class QLineEdit;
class StripedGrid;

class SearchBar : public QWidget {
    Q_OBJECT
public:
    // `screen` is where Ctrl+F applies.
    SearchBar(QWidget *screen, std::vector<StripedGrid *> grids = {});

    QLineEdit *box() const { return box_; }
    QString text() const;

signals:
    void textEdited(const QString &text);

private:
    void narrow(const QString &text);

    QLineEdit *box_;
    std::vector<StripedGrid *> grids_;
};
