#include "reports/roster_form.h"

#include "reports/layout.h"

namespace roster {

const QStringList &fieldTitles()
{
    static const QStringList titles = {
        "职工编码", "职工姓名", "现任职务", "任职时间", "性别", "出生年月", "籍贯", "民族", "文化程度", "毕业学校",
        "毕业时间", "所学专业", "政治面貌", "入党（团）时间", "工作时间", "入司时间", "技术职称", "聘任时间", "备注"};
    return titles;
}

QString shortNation(const QString &nation)
{
    return nation.isEmpty() ? QString() : nation.left(1) + QStringLiteral("族");
}

QString yearAndMonth(const QString &isoDate) { return isoDate.left(7); }

// Qt has no GB2312 codec without ICU. Every GB2312 character takes two bytes and ASCII one, so
// the cut counts non-ASCII characters as two bytes, and stops before a character that would
// cross the limit rather than splitting it.
QString cutToGb2312Bytes(const QString &text, int bytes)
{
    int used = 0;
    int end = 0;
    while (end < text.size()) {
        const int length = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int size = text[end].unicode() < 0x80 ? 1 : 2;
        if (used + size > bytes)
            break;
        used += size;
        end += length;
    }
    return text.left(end);
}

report::Report printedRoster(const QString &reportClass, const QString &title)
{
    using report::Align;
    using report::field;
    report::Report r;
    r.name = reportClass;
    r.orientation = QPageLayout::Landscape;
    r.title = title;
    r.titleOnEveryPage = true;
    r.headingsOnEveryPage = true;
    r.rowHeight = 6.5;
    r.fonts.bodyPt = 8.5;
    r.fonts.headingPt = 8.5;
    r.columns = {
        {QStringLiteral("序 号"), 9, Align::Centre, report::runningNumber()},
        {QStringLiteral("姓名"), 15, Align::Left, field(Name)},
        {QStringLiteral("籍贯"), 19, Align::Left, field(NativePlace)},
        {QStringLiteral("现任职务"), 19, Align::Left, field(Position)},
        {QStringLiteral("性 别"), 10, Align::Centre, field(Sex)},
        {QStringLiteral("民族"), 9, Align::Centre, field(Nation, shortNation)},
        {QStringLiteral("出生年月"), 14, Align::Centre, field(Born, yearAndMonth)},
        {QStringLiteral("文化程度"), 15, Align::Left, field(Education)},
        {QStringLiteral("毕业学校"), 20, Align::Left, field(School, [](const QString &s) { return cutToGb2312Bytes(s, 12); })},
        {QStringLiteral("所学专业"), 23, Align::Left, field(Speciality, [](const QString &s) { return cutToGb2312Bytes(s, 14); })},
        {QStringLiteral("毕业时间"), 17, Align::Centre, field(Graduated)},
        {QStringLiteral("入党（团） 时     间"), 17, Align::Centre, field(JoinedParty)},
        {QStringLiteral("参加工作 时    间"), 17, Align::Centre, field(StartedWork)},
        {QStringLiteral("入司时间"), 17, Align::Centre, field(JoinedCompany)},
        {QStringLiteral("任现职 时  间"), 17, Align::Centre, field(PositionSince)},
        {QStringLiteral("专业技 术职务"), 24, Align::Left, field(Title)},
        {QStringLiteral("备注"), 10, Align::Left, {}},
    };
    return r;
}

report::Document layoutRoster(const QString &reportClass, const QString &title, const QList<QVariantList> &rows)
{
    return report::layout(printedRoster(reportClass, title), rows);
}

report::Document layoutRosterFromSource(const QString &reportClass, const QString &title,
                                        std::shared_ptr<report::RowSource> rows, const QString &coverage)
{
    report::Report r = printedRoster(reportClass, title);
    if (!coverage.isEmpty())
        r.labels = {{coverage, {}, {}}};
    return report::layoutFromSource(r, std::move(rows));
}

}  // namespace roster
