#pragma once
// The preview of a long document: its pages are produced and painted as they come into view,
// printing and "保存为PDF" go page after page with a progress dialog. The toolbar follows the
// one short documents are previewed with.

#include "reports/page_model.h"

#include <QDialog>

class QLineEdit;

namespace report {

class PageView;

class PagedPreview : public QDialog {
    Q_OBJECT
public:
    PagedPreview(const Document &document, QWidget *parent = nullptr);
    PageView *view() const { return view_; }

private:
    void print();

    Document document_;
    PageView *view_ = nullptr;
    QLineEdit *pageBox_ = nullptr;
};

}  // namespace report
