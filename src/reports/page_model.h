#pragma once
// Laid-out pages: positioned texts and lines in millimetres from the paper's top-left corner.
// Tests read this model; the renderer paints it. A document's pages are produced when they are
// read, one at a time, so a long document never holds all of its pages.

#include "reports/report.h"

#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <iterator>
#include <memory>
#include <vector>

namespace report {

enum class FontRole { Title, Label, Heading, Body };

struct Text {
    QRectF box;       // the text is aligned inside the box and centred vertically
    QString text;
    Align align = Align::Left;
    FontRole role = FontRole::Body;
    double pointSize = 0;  // 0: the role's size; smaller where a cell text had to shrink
};

// A picture (a photo) scaled into its box, keeping its proportions, centred.
struct Picture {
    QRectF box;
    QImage image;
};

struct Page {
    std::vector<Text> texts;
    std::vector<QLineF> lines;
    std::vector<Picture> pictures;
};

// Where a document's pages come from. The count is known before any page is produced.
class PageSource {
public:
    virtual ~PageSource() = default;
    virtual int count() const = 0;
    virtual Page page(int index) const = 0;  // 0 <= index < count()
};

// A document's pages, read like a list of pages: each is produced when it is read, and a page
// read twice is produced twice (a layout keeps a few recent pages for a preview's repaints).
class Pages {
public:
    Pages();
    Pages(std::vector<Page> pages);  // a document built page by page by hand
    explicit Pages(std::shared_ptr<const PageSource> source);

    size_t size() const { return size_t(source_->count()); }
    bool empty() const { return size() == 0; }
    Page operator[](size_t index) const { return source_->page(int(index)); }
    Page front() const { return (*this)[0]; }
    Page back() const { return (*this)[size() - 1]; }

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Page;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Page;
        const_iterator(const PageSource *source, int index) : source_(source), index_(index) {}
        Page operator*() const { return source_->page(index_); }
        const_iterator &operator++() { ++index_; return *this; }
        bool operator==(const const_iterator &other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator &other) const { return index_ != other.index_; }

    private:
        const PageSource *source_;
        int index_;
    };
    const_iterator begin() const { return {source_.get(), 0}; }
    const_iterator end() const { return {source_.get(), source_->count()}; }

private:
    std::shared_ptr<const PageSource> source_;
};

struct Document {
    QString name;
    QSizeF paper;     // millimetres, already turned for landscape
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    Fonts fonts;
    Pages pages;
};

// Documents printed one after the other as one (the first one's paper and fonts).
Document joined(const std::vector<Document> &documents);

}  // namespace report
