#include "demo/demo_organisation.h"

#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <QSqlQuery>
#include <QStringList>
#include <set>
#include <vector>

namespace demo {
namespace {

// SplitMix64: small, fast, and the same sequence on every platform and library.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 next()
    {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int between(int low, int high) { return low + int(next() % quint64(high - low + 1)); }  // inclusive
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <typename T> const T &pick(const std::vector<T> &items) { return items[size_t(between(0, int(items.size()) - 1))]; }
    QString pick(const QStringList &items) { return items[between(0, int(items.size()) - 1)]; }
    // An index drawn with the given weights.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights) total += w;
        int r = between(1, total);
        int i = 0;
        for (int w : weights) {
            if ((r -= w) <= 0) return i;
            ++i;
        }
        return i - 1;
    }
    QDate dateBetween(const QDate &from, const QDate &to)
    {
        if (to <= from) return from;
        return from.addDays(between(0, int(from.daysTo(to))));
    }

private:
    quint64 state_;
};

QString code2(int n) { return QString("%1").arg(n, 2, 10, QChar('0')); }

const QStringList kSurnames = QString("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 许 韩 冯 邓 曹 彭 曾 肖 田 董 袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈 姚 卢 姜 崔 钟 谭 陆 汪 范 金 石 廖 贾 夏 韦 付 方 白 邹 孟 熊 秦 邱 江 尹 薛 闫 段 雷 侯 龙 史 陶 黎 贺 顾 毛 郝 龚 邵 万 钱 严 覃 武 戴 莫 孔 向 汤 欧阳 司马").split(' ');
const QStringList kGiven = QString("伟 芳 娜 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 秀 霞 平 刚 桂 英 华 玉 兰 萍 红 建 国 文 辉 斌 宇 浩 凯 鹏 晨 雪 梅 琳 丹 鑫 博 志 海 林 峰 燕 云 春 晓 东 亮 成 婷 瑞 欣 佳 俊 宁 帆 颖 思 健 慧").split(' ');
const QStringList kPlaces = QString("北京 天津 河北 山西 内蒙古 辽宁 吉林 黑龙江 上海 江苏 浙江 安徽 福建 江西 山东 河南 湖北 湖南 广东 广西 海南 重庆 四川 贵州 云南 陕西 甘肃 青海 宁夏 新疆").split(' ');
// Schools by education code (01 博士生 … 08 小学), so the school matches the education.
const QStringList kUniversities = QString("清华大学 北京大学 浙江大学 西安交通大学 华中科技大学 哈尔滨工业大学 中南大学 四川大学 东北大学 太原理工大学 河北工业大学").split(' ');
QStringList schoolsFor(int education)
{
    if (education <= 3)
        return kUniversities;
    if (education == 4)
        return {"本市职业技术学院", "省机电职业技术学院"};
    if (education == 5)
        return {"省工业学校", "市卫生学校"};
    if (education <= 7)
        return {"市第一中学", "市第三中学"};
    return {"城关镇中心小学"};
}
const QStringList kMajors = QString("机械设计制造及其自动化 电气工程及其自动化 会计学 工商管理 计算机科学与技术 化学工程与工艺 土木工程 人力资源管理 汉语言文学 采矿工程 安全工程 金融学").split(' ');
const QStringList kHealth = {"健康", "良好", "一般"};
const QStringList kReasons = {"岗位调整", "考核晋档", "竞聘上岗", "工作需要", "技能鉴定", "更正录入"};
const QStringList kRewards = {"通报表扬", "先进工作者", "嘉奖", "警告", "记过", "罚款"};
const QStringList kRewardCauses = {"安全生产无事故", "技术革新", "超额完成任务", "节能降耗"};
const QStringList kPunishmentCauses = {"违反劳动纪律", "迟到早退", "违章操作"};
const QString kMaternityLeave = QStringLiteral("08");  // 产假 among the delivered attendance kinds
const QString kAnnualLeave = QStringLiteral("09");     // 年休假

struct Statements {
    explicit Statements(const QSqlDatabase &db) : db_(db) {}
    QSqlQuery &operator[](const QString &insert)
    {
        auto it = cache_.find(insert);
        if (it == cache_.end())
            it = cache_.emplace(insert, sql::prepare(db_, insert)).first;
        return it->second;
    }
    void run(const QString &insert, const QVariantList &values)
    {
        QSqlQuery &q = (*this)[insert];
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        sql::exec(q);
    }

private:
    QSqlDatabase db_;
    std::map<QString, QSqlQuery> cache_;
};

// Men take no maternity leave: their draw of 产假 becomes 年休假.
QString leaveFor(const QString &kind, bool woman) { return !woman && kind == kMaternityLeave ? kAnnualLeave : kind; }

QVariant date(const QDate &d) { return sql::dateValue(d); }
QVariant yuan(qint64 whole) { return QVariant(qlonglong(whole * schema::kMoneyScale)); }

// Change dates of one history: the first on joining, later ones in date order, sometimes a
// second change on the same day, sometimes a correction entered last with an earlier date.
std::vector<QDate> changeDates(Random &r, const QDate &joined, const QDate &anchor)
{
    std::vector<QDate> dates{joined};
    const int changes = r.weighted({30, 35, 25, 10});
    QDate last = joined;
    for (int i = 0; i < changes && last < anchor; ++i) {
        last = r.dateBetween(last.addDays(30), anchor);
        if (last > anchor) break;
        dates.push_back(last);
        if (r.chance(5))
            dates.push_back(last);  // same-day change
    }
    if (dates.size() > 1 && r.chance(10))
        dates.push_back(r.dateBetween(joined, dates[dates.size() - 2]));  // back-dated correction
    return dates;
}

// Training over the last five years: a few hundred courses a year in a large organisation, each
// with participants already employed by its date (scores mostly whole, some halves, a few
// missing; grades A to E, a few missing), now and then a course content longer than 50
// characters. A stream of its own, so that the training's volume leaves the rest of the
// organisation as it is.
void generateTraining(Statements &s, const Options &options, const std::vector<QDate> &joinedOn)
{
    Random r(options.seed * 7919 + 17);
    const int years = 5;
    const int courses = years * std::clamp(options.employees / 300, 3, 400);
    const int meanSize = std::clamp(options.employees / 1500, 3, 70);
    const QStringList topics = {"安全生产知识", "岗位技能提升", "计算机应用", "财务制度", "质量管理", "消防演练"};
    const QString details = "：岗位操作规程、事故案例分析、应急处置演练、劳动防护用品的使用与维护、现场隐患排查与整改、结业考核";
    for (int c = 1; c <= courses; ++c) {
        const QDate when = r.dateBetween(options.anchor.addYears(-years), options.anchor);
        const QString code = QString("PX%1").arg(c, 4, 10, QChar('0'));
        s.run("insert into pxnrb (培训编码,培训日期,训练内容,累计时数) values (?,?,?,?)",
              {code, date(when), r.pick(topics) + QString("（第%1期）").arg(c) + (r.chance(5) ? details : QString()),
               double(r.between(8, 80))});
        std::set<size_t> taken;
        for (int k = r.between(1, 2 * meanSize); k > 0; --k) {
            const size_t e = size_t(r.between(0, int(joinedOn.size()) - 1));
            if (joinedOn[e] >= when || !taken.insert(e).second)
                continue;  // not employed yet, or already taking part
            const QVariant score = r.chance(3) ? QVariant() : QVariant(r.between(45, 100) - (r.chance(15) ? 0.5 : 0.0));
            const QVariant grade = r.chance(2) ? QVariant() : QVariant(QString(QChar('A' + r.weighted({20, 35, 30, 10, 5}))));
            s.run("insert into pxjlb (职工编码,培训编码,成绩,技能评定) values (?,?,?,?)",
                  {QString("%1").arg(e + 1, 6, 10, QChar('0')), code, score, grade});
        }
    }
}

struct LifeDates {
    QDate born, started, joined, anchor;
    QString school;  // with the major, as the register has them
};

// Most technical cadres have a résumé: the answers, a spouse, family, schools and posts.
void writeResume(Statements &s, Random &r, const QString &code, const LifeDates &life)
{
    if (!r.chance(70))
        return;
    const auto yearMonth = [](const QDate &d) { return d.toString("yyyy.MM"); };
    s.run("insert into gbllb (职工编码,入党,技术职务,培训,技术专长,外语,奖励,其他说明) values (?,?,?,?,?,?,?,?)",
          {code, r.chance(40) ? QString("%1年%2月由%3、%4介绍入党，次年转正。").arg(life.started.year() + r.between(1, 8)).arg(r.between(1, 12)).arg(r.pick(kSurnames) + r.pick(kGiven), r.pick(kSurnames) + r.pick(kGiven)) : QVariant(),
           QString("%1年经公司职称评审委员会评审，取得%2资格。").arg(life.joined.year() + r.between(1, 6)).arg(r.pick(QStringList{"工程师", "会计师", "经济师", "政工师"})),
           QString("%1年参加%2。").arg(life.joined.year() + r.between(0, 5)).arg(r.pick(QStringList{"市委党校中青年干部培训班", "公司管理人员轮训", "省行业协会专业培训"})),
           r.pick(QStringList{"熟悉设备维护与技术改造。", "长于成本核算。", "有多项合理化建议被采纳。"}),
           r.pick(QStringList{"英语（一般）", "日语（初级）", "俄语（阅读）"}),
           r.chance(30) ? QString("%1年被评为公司先进工作者。").arg(life.joined.year() + r.between(1, 10)) : QVariant(),
           QVariant()});
    if (r.chance(75)) {
        const QDate spouseBorn = r.dateBetween(life.born.addYears(-4), life.born.addYears(4));
        const int spouseEducation = r.between(3, 6);  // 本科 … 高中
        const QString spouseSchool = r.pick(schoolsFor(spouseEducation)) + (spouseEducation <= 5 ? r.pick(kMajors) : QString());
        s.run("insert into pojlb (职工编码,姓名,出生日期,籍贯,学历,政治面貌,工作时间,毕业学校,工作单位,技术职务) values (?,?,?,?,?,?,?,?,?,?)",
              {code, r.pick(kSurnames) + r.pick(kGiven) + r.pick(kGiven), spouseBorn.toString("yyyy-MM-dd"), r.pick(kPlaces),
               QStringList{"本科", "大专", "中专", "高中"}[spouseEducation - 3], r.pick(QStringList{"共产党员", "共青团员", "无党派"}),
               yearMonth(std::min(spouseBorn.addYears(20), life.anchor)), spouseSchool,
               r.pick(QStringList{"市第一医院", "区教育局", "市供电公司", "自营"}) + r.pick(QStringList{"职员", "教师", "科长"}),
               r.chance(50) ? QVariant("助理工程师") : QVariant()});
    }
    for (const QString &relation : QStringList{"父亲", "母亲", "子女"}.mid(0, r.between(1, 3)))
        s.run("insert into jtcyb (职工编码,关系,姓名,出生日期,政治面貌,工作单位) values (?,?,?,?,?,?)",
              {code, relation, r.pick(kSurnames) + r.pick(kGiven), QString::number(relation == "子女" ? life.born.year() + r.between(22, 32) : life.born.year() - r.between(22, 32)),
               r.pick(QStringList{"共产党员", "无党派"}), relation == "子女" ? "在读" : "退休"});
    s.run("insert into xxjlb (职工编码,起止年月,学校,毕业,证明人) values (?,?,?,?,?)",
          {code, yearMonth(life.started.addYears(-4)) + "-" + yearMonth(life.started), life.school, "毕业",
           r.pick(kSurnames) + r.pick(kGiven)});
    s.run("insert into gzjlb (职工编码,起止日期,单位职务,证明人) values (?,?,?,?)",
          {code, yearMonth(life.joined) + "-", "澄禾汀岚分公司" + r.pick(QStringList{"技术员", "会计", "科员", "副科长"}),
           r.pick(kSurnames) + r.pick(kGiven)});
    if (r.chance(10))
        s.run("insert into hyjlb (职工编码,何年何月,会议名称,身份职务) values (?,?,?,?)",
              {code, yearMonth(r.dateBetween(life.joined, life.anchor)), "公司职工代表大会", "代表"});
}

}  // namespace

void generate(const QSqlDatabase &db, const Options &options, const std::function<void(int)> &progress)
{
    Random r(options.seed);
    // Résumés draw from their own sequence, so the rest of the organisation is the same with
    // or without them.
    Random resumeRandom(options.seed ^ 0x5245534Dull);
    Statements s(db);
    Transaction transaction(db);
    const QDate anchor = options.anchor;

    const QString insertEmployee =
        "insert into zghmc (职工编码,职工姓名,曾用名,职工性别,出生年月,籍贯,民族编码,文化程度,获得学位,毕业学校,毕业时间,"
        "所学专业,身份证号,工作时间,工作单位,入司时间,健康状况,政治面貌,入党时间,出生地,联系电话,家庭住址,邮政编码,"
        "联系地址,照片,备注,职工简介) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    const QString insertDepartment = "insert into dwdtb (职工编码,变动时间,单位编码) values (?,?,?)";
    const QString insertPosition = "insert into zwdtb (职工编码,变动时间,职务编码) values (?,?,?)";
    const QString insertTitle = "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values (?,?,?,?)";
    const QString insertSkill = "insert into gwjndtb (职工编码,变动时间,档次编码,类别编码,变动理由) values (?,?,?,?,?)";
    const QString insertGrade = "insert into zwdjdtb (变动时间,职工编码,等级编码,等级工资,变动理由) values (?,?,?,?,?)";

    // Titles by technical category, as delivered: category → title codes.
    const std::vector<std::pair<QString, std::vector<int>>> titlesByCategory = {
        {"01", {1, 2, 3, 4, 5}}, {"02", {6, 7, 8, 9}}, {"03", {10, 11, 12}},
        {"04", {13}}, {"05", {14, 15}}, {"06", {16, 17}}};

    std::vector<QDate> joinedOn;
    joinedOn.reserve(size_t(options.employees));
    for (int i = 0; i < options.employees; ++i) {
        const QString code = QString("%1").arg(i + 1, 6, 10, QChar('0'));
        const bool woman = r.chance(40);
        const QDate born = r.dateBetween(QDate(anchor.year() - 64, 1, 1), QDate(anchor.year() - 19, 12, 31));
        // Dates after birth and before the anchor, drawn `years` after birth where that fits.
        const auto lifeEvent = [&](int fromYears, int toYears, const QDate &notBefore) {
            const QDate d = born.addYears(r.between(fromYears, toYears)).addDays(r.between(0, 300));
            return d <= anchor ? std::max(d, notBefore) : r.dateBetween(std::min(notBefore, anchor), anchor);
        };
        const QDate started = lifeEvent(17, 26, born.addYears(16));
        const QDate joined = std::min(anchor, lifeEvent(17, 26 + r.weighted({40, 30, 20, 10}) * 6, started));
        joinedOn.push_back(joined);
        const int education = 1 + r.weighted({2, 6, 25, 25, 15, 15, 9, 3});
        const int party = r.weighted({55, 30, 12, 3});  // 其他, 党员, 团员, 民主党派
        const QString partyCode = QStringList{"00", "01", "02", "03"}[party];
        const QDate joinedParty = party == 1 ? lifeEvent(18, 45, born.addYears(18)) : QDate();
        const QString name = r.pick(kSurnames) + r.pick(kGiven) + (r.chance(60) ? r.pick(kGiven) : QString());
        const QString place = r.pick(kPlaces);
        const QStringList degrees = {"博士学位", "硕士学位", "学士学位", "无学位"};
        const QString school = r.pick(schoolsFor(education));
        const QString drawnMajor = r.pick(kMajors);
        const QVariant major = education <= 5 ? QVariant(drawnMajor) : QVariant();  // none below 中专
        s.run(insertEmployee,
              {code, name, r.chance(5) ? r.pick(kSurnames) + r.pick(kGiven) : QVariant(), woman ? "女" : "男",
               date(born), place, r.chance(92) ? "00" : code2(r.between(1, 55)), code2(education),
               degrees[std::min(education, 4) - 1], school,
               date(std::min(started, born.addYears(18 + std::max(0, 5 - education)))), major,
               QString("%1%2%3").arg(r.between(110000, 659000)).arg(born.toString("yyyyMMdd")).arg(r.between(1000, 9999)),
               date(started), "澄禾汀岚分公司", date(joined), r.pick(kHealth), partyCode, date(joinedParty),
               r.pick(kPlaces), QString("1%1").arg(r.between(300000000, 899999999) * 10LL + r.between(0, 9)),
               place + "市人民路" + QString::number(r.between(1, 300)) + "号", QString::number(r.between(100000, 850000)),
               place + "市建设街" + QString::number(r.between(1, 200)) + "号", QVariant(), QVariant(),
               QString("%1年参加工作，%2年进入本公司。").arg(started.year()).arg(joined.year())});

        // Department: on-duty departments, then perhaps to one of the not-on-duty ones.
        std::vector<QDate> dates = changeDates(r, joined, anchor);
        for (size_t k = 0; k < dates.size(); ++k) {
            QString dept = code2(r.between(1, 10));
            if (k + 1 == dates.size() && k > 0 && r.chance(25))
                dept = QStringList{"97", "98", "99"}[r.weighted({5, 3, 2})];
            s.run(insertDepartment, {code, date(dates[k]), dept});
        }
        for (const QDate &d : changeDates(r, joined, anchor))
            s.run(insertPosition, {code, date(d), code2(r.weighted({30, 1, 2, 1, 4, 5, 4, 5, 8, 15, 25}))});
        QString currentCategory;  // of the title row entered last
        for (const QDate &d : changeDates(r, joined, anchor)) {
            if (r.chance(45)) {
                s.run(insertTitle, {code, date(d), "00", "00"});
                currentCategory = "00";
            } else {
                const auto &[category, titles] = r.pick(titlesByCategory);
                s.run(insertTitle, {code, date(d), code2(r.pick(titles)), category});
                currentCategory = category;
            }
        }
        if (currentCategory != "00")
            writeResume(s, resumeRandom, code, {born, started, joined, anchor, school + major.toString()});
        for (const QDate &d : changeDates(r, joined, anchor))
            s.run(insertSkill, {code, date(d), code2(r.between(1, 8)), code2(r.between(1, 4)), r.pick(kReasons)});
        for (const QDate &d : changeDates(r, joined, anchor)) {
            const int level = r.between(1, 12);
            s.run(insertGrade, {date(d), code, code2(level), yuan(3600 - 240 * (level - 1)), r.pick(kReasons)});
        }

        if (r.chance(12))
            for (int k = r.between(1, 2); k > 0; --k) {
                const bool reward = r.chance(70);
                s.run("insert into jcjlb (职工编码,奖惩日期,奖惩,奖惩方式,奖惩金额,事由) values (?,?,?,?,?,?)",
                      {code, date(r.dateBetween(joined, anchor)), reward ? 1 : -1,
                       reward ? r.pick(kRewards.mid(0, 3)) : r.pick(kRewards.mid(3)), yuan(r.between(1, 20) * 50),
                       r.pick(reward ? kRewardCauses : kPunishmentCauses)});
            }
        if (r.chance(30))
            for (int k = r.between(1, 3); k > 0; --k)
                s.run("insert into kqjlb (职工编码,方式编码,考勤时间,时数,事由,罚金) values (?,?,?,?,?,?)",
                      {code, leaveFor(code2(r.between(1, 10)), woman), date(r.dateBetween(std::max(joined, anchor.addYears(-2)), anchor)),
                       double(r.between(1, 16)), r.pick(QStringList{"家中有事", "身体不适", "交通受阻", "办理私事"}),
                       r.chance(20) ? yuan(r.between(1, 10) * 10) : QVariant()});
        // Routine attendance of the last years, from a generator of its own, so the other
        // tables stay what this seed has always given: a few rows a year, in half hours.
        Random a(options.seed ^ (0xA77E4DA4CEULL * quint64(i + 1)));
        for (int y = anchor.year() - options.attendanceYears + 1; y <= anchor.year(); ++y) {
            const QDate first = std::max(joined, QDate(y, 1, 1)), last = std::min(anchor, QDate(y, 12, 31));
            if (first > last)
                continue;
            for (int k = a.between(2, 8); k > 0; --k)
                s.run("insert into kqjlb (职工编码,方式编码,考勤时间,时数,事由,罚金) values (?,?,?,?,?,?)",
                      {code, leaveFor(code2(1 + a.weighted({25, 25, 3, 15, 10, 2, 2, 2, 12, 4})), woman), date(a.dateBetween(first, last)),
                       a.between(1, 32) / 2.0, a.pick(QStringList{"家中有事", "身体不适", "交通受阻", "办理私事", "年度休假"}),
                       a.chance(5) ? yuan(a.between(1, 10) * 10) : QVariant()});
        }
        for (int y = anchor.year() - options.appraisalYears; y < anchor.year(); ++y)
            if (joined.year() <= y)
                s.run("insert into ndkhb (年度,职工编码,考核成绩) values (?,?,?)",
                      {y, code, QStringList{"优秀", "及格", "不及格"}[r.weighted({20, 75, 5})]});
        for (int m = options.payMonths; m >= 1; --m) {
            const QDate month = QDate(anchor.year(), anchor.month(), 1).addMonths(-m + 1);
            if (month < QDate(joined.year(), joined.month(), 1))
                continue;
            const qint64 basic = 1800 + r.between(0, 30) * 50, post = 600 + r.between(0, 40) * 25;
            const qint64 remote = r.chance(20) ? 200 : 0, tax = (basic + post) / 20;
            // 工龄 is kept in whole yuan and counts into the gross like the other amounts.
            const qint64 seniority = anchor.year() - started.year(), wages = basic + post + seniority + remote;
            s.run("insert into gzb (年月,职工编码,基本工资,岗位工资,工龄,边远津贴,应发工资,扣除税金,实发工资) values (?,?,?,?,?,?,?,?,?)",
                  {date(month), code, yuan(basic), yuan(post), seniority, yuan(remote), yuan(wages), yuan(tax), yuan(wages - tax)});
            const qint64 unit = 500 + r.between(0, 20) * 25, coefficient = 300 + r.between(0, 20) * 20;
            s.run("insert into jjb (职工编码,年月,单位系数工资,岗位系数,应发工资,扣发,税金,实发) values (?,?,?,?,?,?,?,?)",
                  {code, date(month), yuan(unit), yuan(coefficient), yuan(unit + coefficient), yuan(0),
                   yuan((unit + coefficient) / 20), yuan(unit + coefficient - (unit + coefficient) / 20)});
            const qint64 food = 120, living = 200, hard = r.chance(30) ? 150 : 0, gas = 50, meal = 100, medical = 80;
            const qint64 gross = food + living + hard + gas + meal + medical, fund = 180, pension = 160;
            s.run("insert into btb (职工编码,年月,生活补贴,食品补贴,艰难补贴,液化气补贴,误餐补贴,医药补贴,应发工资,扣发公积金,扣发养老金,实发工资) "
                  "values (?,?,?,?,?,?,?,?,?,?,?,?)",
                  {code, date(month), yuan(living), yuan(food), yuan(hard), yuan(gas), yuan(meal), yuan(medical),
                   yuan(gross), yuan(fund), yuan(pension), yuan(gross - fund - pension)});
        }
        if (progress && (i + 1) % 1000 == 0)
            progress(i + 1);
    }
    generateTraining(s, options, joinedOn);
    transaction.commit();
    if (progress && options.employees % 1000 != 0)
        progress(options.employees);
}

}  // namespace demo
