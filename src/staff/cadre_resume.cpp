#include "staff/cadre_resume.h"

#include "app/edit_rows.h"
#include "db/employee_listing.h"
#include "db/rights.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <QSqlRecord>

namespace staff::resume {
namespace {

const QString kCode = QStringLiteral("职工编码");
const QString kTexts = QStringLiteral("gbllb");
const QString kSpouse = QStringLiteral("pojlb");
const QStringList kPolitical = {"共产党员", "共青团员", "民主党派", "无党派"};

std::vector<Grid> buildGrids()
{
    const auto relatives = [](const QString &table) {
        return Grid{table,
                    {{"关系", "关系"}, {"姓名", "姓名"}, {"出生日期", "出生日期"},
                     {"政治面貌", "政治面貌", kPolitical}, {"工作单位", "工作单位及职务"}}};
    };
    return {
        {"xxjlb", {{"起止年月", "起止日期"}, {"学校", "院校及系、专业"}, {"毕业", "毕(结,肄)业", {"毕业", "结业", "肄业"}},
                   {"证明人", "证明人"}}},
        {"gzjlb", {{"起止日期", "起止日期"}, {"单位职务", "单 位 及 职 务"}, {"证明人", "证明人"}}},
        {"hyjlb", {{"何年何月", "何年何月"}, {"会议名称", "会  议  名  称"}, {"身份职务", "身份及职务"}}},
        relatives("jtcyb"),
        relatives("gwgxb"),
    };
}

std::vector<Page> buildPages()
{
    using K = Block::Kind;
    const auto text = [](const QString &caption, const QString &column) { return Block{K::Text, caption, column}; };
    const auto list = [](const QString &caption, const QString &table) {
        return Block{K::Grid, caption, {}, findGrid(table)};
    };
    return {
        {"第一页", {},
         {{K::Personal, {}},
          text("何年何月何人介绍加入中国共产党、何是转正", "入党"),
          text("何年何月何人介绍加入中国共产主义青年团", "入团"),
          text("何年何月何人介绍加入何民主党派、任何职务", "入民主党派"),
          text("何时经何机关审批任何专业技术职务或任何资格", "技术职务")}},
        {"第二页", {},
         {text("何年何月何机关授予何种警衔、军衔", "军衔"),
          text("何年何月至何年何月参加何单位举办的政治理论或业务培训（包括各级党校培训或学习）", "培训"),
          text("有何技术专长、重要发明创造、科研成果、著作译著", "技术专长")}},
        {"第三页", {},
         {text("何时何处参加社会团体，任何职务", "社会团体"), text("有何宗教信仰", "宗教信仰"),
          text("何年何月出国（境）及参加重大国际性活动的情况", "出国活动"),
          text("掌握何种外语或少数民族语言及其它技能情况", "外语")}},
        {"第四页", {},
         {text("何时何处何原因受过何种奖励", "奖励"), text("何时何处何原因受过何种处分", "处罚"),
          text("历史上参加过何种反动组织，任何职务，有何结论", "反动组织"),
          text("“文化大革命”中犯有何种错误，组织意见如何", "文革错误")}},
        {"第五页", "学 习 简 历", {list({}, "xxjlb")}},
        {"第六页", "工  作  经  历", {list({}, "gzjlb")}},
        {"第七页", "当选人民代表大会、政治协商会议、中国共产党员及民主党派、群众团体代表大会代表、委员等情况",
         {list({}, "hyjlb")}},
        {"第八页", "家庭主要成员情况",
         {{K::Spouse, "配    偶"}, list("其他成员", "jtcyb"), list("国内外主要社会关系情况", "gwgxb")}},
        {"第九页", {}, {text("其它需要说明的情况", "其他说明")}},
    };
}

QStringList textColumns()
{
    QStringList columns;
    for (const Page &page : pages())
        for (const Block &b : page.blocks)
            if (b.kind == Block::Kind::Text)
                columns << b.column;
    return columns;
}

QStringList columnsOf(const Grid &grid)
{
    QStringList columns;
    for (const GridColumn &c : grid.columns)
        columns << c.column;
    return columns;
}

QVariant stored(const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); }

QSqlQuery rowsOf(const QSqlDatabase &db, const QString &table, const QStringList &columns, const QString &code)
{
    QStringList quoted;
    for (const QString &c : columns)
        quoted << sql::quoteIdentifier(c);
    QSqlQuery q = sql::prepare(db, QStringLiteral("select rowid, %1 from %2 where 职工编码=:code order by rowid")
                                       .arg(quoted.join(", "), table));
    q.setForwardOnly(true);
    q.bindValue(":code", code);
    sql::exec(q);
    return q;
}

bool exists(const QSqlDatabase &db, const QString &statement, const QVariantMap &bound)
{
    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    for (auto it = bound.cbegin(); it != bound.cend(); ++it)
        q.bindValue(it.key(), it.value());
    sql::exec(q);
    return q.next();
}

// The cadre's newest row of `table`: the one just inserted, as the write lock the transaction
// holds keeps other writers out. (Not the connection's last number: on a server that may be
// one the change log's trigger drew after the insert.)
qint64 newestRowId(const QSqlDatabase &db, const QString &table, const QString &code)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select max(rowid) from %1 where 职工编码=:code").arg(table));
    q.bindValue(":code", code);
    sql::exec(q);
    return q.next() ? q.value(0).toLongLong() : 0;
}

// Inserts the row, or updates the cadre's row with the rowid; returns its rowid.
qint64 writeOwnRow(const QSqlDatabase &db, const QString &table, const QString &code, const QVariantMap &columns,
                   std::optional<qint64> rowId)
{
    if (!rowId) {
        QVariantMap row = columns;
        row.insert(kCode, code);
        edit::writeRow(db, table, row);
        return newestRowId(db, table, code);
    }
    // The row must still be the cadre's: a rowid alone could name another's row by now.
    if (!exists(db, QStringLiteral("select 1 from %1 where rowid=:id and 职工编码=:code").arg(table),
                {{":id", *rowId}, {":code", code}}))
        throw sql::Failure(QStringLiteral("要修改的记录已被删除（%1）").arg(table), sql::Failure::Kind::Refused);
    edit::writeRow(db, table, columns, {"rowid", *rowId});
    return *rowId;
}

}  // namespace

const std::vector<Grid> &grids()
{
    static const std::vector<Grid> all = buildGrids();
    return all;
}

const Grid *findGrid(const QString &table)
{
    for (const Grid &g : grids())
        if (g.table == table)
            return &g;
    return nullptr;
}

const std::vector<Page> &pages()
{
    static const std::vector<Page> all = buildPages();
    return all;
}

const std::vector<LabelledValue> &personalFields()
{
    static const std::vector<LabelledValue> fields = {
        {"姓    名", "职工姓名"}, {"性别", "职工性别"},   {"民族", "民族名称"},       {"曾 用 名", "曾用名"},
        {"出生日期", "出生年月"}, {"籍    贯", "籍贯"},   {"学    历", "文化程度名称"}, {"出 生 地", "出生地"},
        {"学    位", "获得学位"}, {"单位职务", "单位职务"}, {"身 份 证号    码", "身份证号"}, {"健康状况", "健康状况"},
    };
    return fields;
}

const SalaryCaptions &salaryCaptions()
{
    static const SalaryCaptions captions{"工资情况", "职务工资", "级别工资", {"档    次", "工 资 额"}, {"级    别", "工 资 额"}};
    return captions;
}

const std::vector<LabelledValue> &spouseFields()
{
    static const std::vector<LabelledValue> fields = {
        {"姓名", "姓名"},
        {"出生日期", "出生日期"},
        {"籍贯", "籍贯"},
        {"参加工作时间", "工作时间"},
        {"政治面貌", "政治面貌", kPolitical},
        {"学历", "学历", {"博士", "硕士", "本科", "大专", "中专", "高中", "初中", "小学", "文盲"}},
        {"工资情况", "工作情况1"},
        {"", "工作情况2"},  // the second line of the salary
        {"专业技术职务", "技术职务"},
        {"毕业学员及专业", "毕业学校"},
        {"工作单位及职务", "工作单位"},
    };
    return fields;
}

std::optional<QMap<QString, QString>> personalData(const QSqlDatabase &db, const QString &code)
{
    // Outer joins: a blank nation or a missing history row leaves that value blank.
    static const QString statement = [] {
        EmployeeListing listing(EmployeeListing::Join::Outer);
        listing.current(history::Table::Department).current(history::Table::Position);
        listing.code("mzdmb", "zghmc.民族编码").code("whcddmb", "zghmc.文化程度").code("dwdmb", "dwdtb.单位编码");
        listing.code("zwdmb", "zwdtb.职务编码");
        return QStringLiteral("select zghmc.*, mzdmb.民族名称, whcddmb.文化程度 as 文化程度名称, dwdmb.单位名称, "
                              "zwdmb.职务名称 %1 where zghmc.职工编码=:code")
            .arg(listing.from());
    }();
    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    q.bindValue(":code", code);
    sql::exec(q);
    if (!q.next())
        return std::nullopt;
    QMap<QString, QString> data;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        data.insert(record.fieldName(i), q.value(i).toString());
    data.insert("单位职务", QStringList{data.value("单位名称"), data.value("职务名称")}.join(' ').trimmed());
    return data;
}

bool GridRow::isBlank() const
{
    for (const QString &v : values)
        if (!v.trimmed().isEmpty())
            return false;
    return true;
}

Resume loadResume(const QSqlDatabase &db, const QString &code)
{
    Resume resume;
    const QStringList texts = textColumns();
    QSqlQuery answers = rowsOf(db, kTexts, texts, code);
    if (answers.next())
        for (int i = 0; i < texts.size(); ++i)
            resume.texts.insert(texts[i], answers.value(i + 1).toString());
    QStringList spouseColumns;
    for (const LabelledValue &f : spouseFields())
        spouseColumns << f.column;
    QSqlQuery spouse = rowsOf(db, kSpouse, spouseColumns, code);
    if (spouse.next()) {  // the first, should an older file hold more than one
        resume.spouseRowId = spouse.value(0).toLongLong();
        for (int i = 0; i < spouseColumns.size(); ++i)
            resume.spouse.insert(spouseColumns[i], spouse.value(i + 1).toString());
    }
    for (const Grid &grid : grids()) {
        QList<GridRow> &rows = resume.lists[grid.table];
        QSqlQuery q = rowsOf(db, grid.table, columnsOf(grid), code);
        while (q.next()) {
            GridRow row{q.value(0).toLongLong(), {}};
            for (size_t c = 0; c < grid.columns.size(); ++c)
                row.values << q.value(int(c) + 1).toString();
            rows << row;
        }
    }
    return resume;
}

qint64 saveAnswers(const QSqlDatabase &db, const QString &code, const QMap<QString, QString> &texts,
                   const QMap<QString, QString> &spouse, std::optional<qint64> spouseRowId)
{
    QVariantMap spouseRow;
    for (const LabelledValue &f : spouseFields())
        spouseRow.insert(f.column, stored(spouse.value(f.column)));
    QVariantMap answers;
    for (const QString &c : textColumns())
        answers.insert(c, stored(texts.value(c)));

    Transaction transaction(db);
    const qint64 rowId = writeOwnRow(db, kSpouse, code, spouseRow, spouseRowId);
    const bool answered = exists(db, QStringLiteral("select 1 from gbllb where 职工编码=:code"), {{":code", code}});
    if (!answered)
        answers.insert(kCode, code);
    edit::writeRow(db, kTexts, answers, answered ? edit::RowKey{kCode, code} : edit::RowKey{});
    transaction.commit();
    return rowId;
}

qint64 writeGridRow(const QSqlDatabase &db, const Grid &grid, const QString &code, const GridRow &row)
{
    QVariantMap columns;
    for (size_t c = 0; c < grid.columns.size(); ++c)
        columns.insert(grid.columns[c].column, stored(row.values.value(int(c))));
    Transaction transaction(db);
    const qint64 rowId = writeOwnRow(db, grid.table, code, columns,
                                     row.rowId ? std::optional<qint64>(row.rowId) : std::nullopt);
    transaction.commit();
    return rowId;
}

void deleteGridRow(const QSqlDatabase &db, const Grid &grid, const QString &code, qint64 rowId)
{
    rights::requireWrite(grid.table);
    Transaction transaction(db);
    QSqlQuery q = sql::prepare(db, QStringLiteral("delete from %1 where rowid=:id and 职工编码=:code").arg(grid.table));
    q.bindValue(":id", rowId);
    q.bindValue(":code", code);
    sql::exec(q);
    transaction.commit();
}

}  // namespace staff::resume
