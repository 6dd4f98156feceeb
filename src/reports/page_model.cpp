#include "reports/page_model.h"

namespace report {
namespace {

class FixedPages : public PageSource {
public:
    explicit FixedPages(std::vector<Page> pages) : pages_(std::move(pages)) {}
    int count() const override { return int(pages_.size()); }
    Page page(int index) const override { return pages_[size_t(index)]; }

private:
    std::vector<Page> pages_;
};

class JoinedPages : public PageSource {
public:
    explicit JoinedPages(std::vector<Pages> parts) : parts_(std::move(parts)) {}
    int count() const override
    {
        int n = 0;
        for (const Pages &p : parts_)
            n += int(p.size());
        return n;
    }
    Page page(int index) const override
    {
        for (const Pages &p : parts_) {
            if (index < int(p.size()))
                return p[size_t(index)];
            index -= int(p.size());
        }
        return {};
    }

private:
    std::vector<Pages> parts_;
};

}  // namespace

Pages::Pages() : Pages(std::vector<Page>{}) {}

Pages::Pages(std::vector<Page> pages) : source_(std::make_shared<FixedPages>(std::move(pages))) {}

Pages::Pages(std::shared_ptr<const PageSource> source) : source_(std::move(source)) {}

Document joined(const std::vector<Document> &documents)
{
    if (documents.empty())
        return {};
    Document all = documents.front();
    std::vector<Pages> parts;
    for (const Document &d : documents)
        parts.push_back(d.pages);
    all.pages = Pages(std::make_shared<JoinedPages>(std::move(parts)));
    return all;
}

}  // namespace report
