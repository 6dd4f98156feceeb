#include "app/help_guide.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

namespace help {
namespace {

// Where each window is described: its page and the heading of its section.
const QMap<QString, Place> &places()
{
    static const QMap<QString, Place> table = [] {
        QMap<QString, Place> t;
        const auto put = [&t](const QString &page, const QString &heading, const QStringList &classes) {
            for (const QString &c : classes)
                t.insert(c, {page, heading});
        };
        put("staff.md", "职工基本情况编辑", {"Tfrmzglr"});
        put("staff.md", "导入职工", {"Tfrmzgdr"});
        put("staff.md", "个人基本信息表", {"Tfrmgrxxzl"});
        put("staff.md", "干部履历表", {"Tfrmgbllbj"});
        put("staff.md", "花名册", {"Tfrmgbxx", "Tfrmkjgbxx", "Tfrmdyxx"});
        put("statistics.md", "职工基本情况分析表", {"Tfrmzgjbqkfxb"});
        put("statistics.md", "技术干部情况统计表", {"Tfrmzyjsgbqktjb"});
        put("statistics.md", "党员基本情况统计表", {"Tfrmdyjbqktjb"});
        put("statistics.md", "职工工龄统计表", {"Tfrmzgglqkfxb"});
        put("statistics.md", "职工基本情况统计表", {"Tfrmzgjbqktjb"});
        put("query.md", "员工基本情况查询", {"Tfrmzgjbqkcx"});
        put("records.md", "工作动态编辑", {"Tfrmgzdtbj"});
        put("records.md", "个人工作动态统计", {"Tfrmgzdttj"});
        put("records.md", "人事记录综合查询", {"Tfrmzggzdtcx", "Tfrmgzdtxxxx"});
        put("records.md", "奖惩情况", {"Tfrmjcjlbj", "Tfrmjcqktj", "Tfrmgsjctjb"});
        put("records.md", "考勤情况", {"Tfrmkqjlbj", "Tfrmkqqktj", "Tfrmgskqtjb"});
        put("records.md", "员工人事资料记录卡", {"Tfrmygrsjlk"});
        put("training.md", "员工培训情况编辑", {"Tfrmpxjlbj"});
        put("training.md", "个人培训情况统计", {"Tfrmgrpxjltj"});
        put("training.md", "公司培训情况统计", {"Tfrmgspxqktj"});
        put("training.md", "培训成绩与技能等次占比", {"Tfrmpxcjzbtjb", "Tfrmpxjnzbtjb"});
        put("pay.md", "职工工资编辑", {"Tfrmgzlr"});
        put("pay.md", "职工工资查询", {"Tfrmzggzcx"});
        put("pay.md", "公司工资统计", {"TFrmgsygztj", "TFrmgsngztj"});
        put("pay.md", "工资统计对照表", {"TFrmgsygzdz", "TFrmgsngzdz"});
        put("pay.md", "职工工资综合查询", {"Tfrmzggzzhcx"});
        put("appraisal.md", "等级(职务)工资编辑", {"Tfrmzwdjbj"});
        put("appraisal.md", "年度考核编辑", {"Tfrmndkhbj"});
        put("appraisal.md", "考核统计与占比", {"Tfrmndkhtj", "Tfrmndkhzb"});
        put("appraisal.md", "等级工资变动及年度考核一览表", {"Tfrmndkhcx", "TFrmzwdjxxxx"});
        put("codes.md", "代码表的共同操作",
            {"Tfrmzcdm", "Tfrmzcjbdm", "Tfrmjsfl", "Tfrmzwdm", "Tfrmzwjbdm", "Tfrmmzdm", "Tfrmwhcddm", "Tfrmdcdmb",
             "Tfrmdjzwdcdmb", "Tfrmdclbdmb"});
        put("codes.md", "部门代码表", {"Tfrmdwdm"});
        put("codes.md", "出勤方式代码表", {"Tfrmcqfs"});
        put("codes.md", "操作员代码表", {"Tfrmczydm"});
        put("codes.md", "工资表内容编辑", {"Tfrmgzgs"});
        put("codes.md", "数据备份与恢复", {"Tfrmsjbf"});
        return t;
    }();
    return table;
}

const QStringList kPageFiles = {"start.md",    "rules.md", "staff.md",     "statistics.md", "query.md", "records.md",
                                "training.md", "pay.md",   "appraisal.md", "codes.md",      "admin.md"};

}  // namespace

QString pageText(const QString &file)
{
    QFile f(":/help/" + file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

const std::vector<Section> &sections()
{
    static const std::vector<Section> all = [] {
        std::vector<Section> found;
        static const QRegularExpression heading(QStringLiteral("^(#{1,6})\\s+(.*?)\\s*$"));
        for (const QString &file : kPageFiles) {
            bool inCode = false;
            for (const QString &line : pageText(file).split('\n')) {
                if (line.startsWith("```"))
                    inCode = !inCode;
                const QRegularExpressionMatch m = heading.match(line);
                if (!inCode && m.hasMatch())
                    found.push_back({file, int(m.capturedLength(1)), m.captured(2), {}});
                else if (!found.empty() && found.back().page == file)
                    found.back().text += line + '\n';
            }
        }
        return found;
    }();
    return all;
}

const std::vector<Page> &pages()
{
    static const std::vector<Page> all = [] {
        std::vector<Page> found;
        for (const QString &file : kPageFiles)
            for (const Section &s : sections())
                if (s.page == file && s.level == 1) {
                    found.push_back({file, s.heading});
                    break;
                }
        return found;
    }();
    return all;
}

std::optional<Place> placeOf(const QString &windowClass)
{
    const auto it = places().constFind(windowClass);
    if (it == places().constEnd())
        return std::nullopt;
    return *it;
}

std::vector<QString> describedWindows()
{
    const QStringList keys = places().keys();
    return {keys.begin(), keys.end()};
}

}  // namespace help
