#include "staff/resume_workbook.h"

namespace staff::resume {
namespace {

// A page's rows as text; a list's rows carry one value per column.
class PageRows {
public:
    void add(QStringList cells) { rows_ << std::move(cells); }
    void pairs(const std::vector<LabelledValue> &fields, const QMap<QString, QString> &values)
    {
        for (const LabelledValue &f : fields) {
            if (f.label.isEmpty() && !rows_.isEmpty())  // the second line of the value above
                rows_.last()[1] = QStringList{rows_.last().value(1), values.value(f.column)}.join(' ').trimmed();
            else
                add({f.label.simplified().remove(' '), values.value(f.column)});
        }
    }
    void list(const Grid &grid, const QList<GridRow> &rows, bool headingsAbove)
    {
        QStringList headings;
        for (const GridColumn &c : grid.columns)
            headings << c.heading.simplified().remove(' ');
        if (headingsAbove)
            add(headings);
        else
            headings_ = headings;
        for (const GridRow &row : rows)
            if (!row.isBlank())
                add(row.values);
    }

    std::unique_ptr<QStandardItemModel> model() const
    {
        qsizetype width = std::max<qsizetype>(2, headings_.size());
        for (const QStringList &row : rows_)
            width = std::max(width, row.size());
        auto model = std::make_unique<QStandardItemModel>(int(rows_.size()), int(width));
        const QStringList headings = headings_.isEmpty() ? QStringList{QStringLiteral("项目"), QStringLiteral("内容")} : headings_;
        model->setHorizontalHeaderLabels(headings);
        for (int r = 0; r < rows_.size(); ++r)
            for (int c = 0; c < rows_[r].size(); ++c)
                if (!rows_[r][c].isEmpty())
                    model->setItem(r, c, new QStandardItem(rows_[r][c]));
        return model;
    }

private:
    QList<QStringList> rows_;
    QStringList headings_;
};

}  // namespace

Workbook workbookOf(const QMap<QString, QString> &personal, const Resume &resume)
{
    Workbook book;
    const QString who = personal.value("职工编码") + personal.value("职工姓名");
    for (const Page &page : pages()) {
        PageRows rows;
        // A page that is one list has its headings as the sheet's column titles.
        const bool oneList = page.blocks.size() == 1 && page.blocks.front().kind == Block::Kind::Grid;
        if (!page.heading.isEmpty())
            rows.add({page.heading.simplified()});
        for (const Block &b : page.blocks) {
            switch (b.kind) {
            case Block::Kind::Personal:
                rows.pairs(personalFields(), personal);
                rows.add({kStartOfWorkCaption,
                          QStringList{personal.value("工作时间"), personal.value("工作单位")}.join("  ").trimmed()});
                break;
            case Block::Kind::Text: rows.add({b.caption, resume.texts.value(b.column)}); break;
            case Block::Kind::Grid:
                if (!b.caption.isEmpty())
                    rows.add({b.caption});
                rows.list(*b.grid, resume.lists.count(b.grid->table) ? resume.lists.at(b.grid->table) : QList<GridRow>{}, !oneList);
                break;
            case Block::Kind::Spouse:
                rows.add({b.caption.simplified().remove(' ')});
                rows.pairs(spouseFields(), resume.spouse);
                break;
            }
        }
        book.pages.push_back(rows.model());
        book.tables.push_back({QStringLiteral("干部履历表 %1 %2").arg(who, page.tab), book.pages.back().get()});
    }
    return book;
}

}  // namespace staff::resume
