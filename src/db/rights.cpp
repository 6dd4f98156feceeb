#include "db/rights.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace rights {
namespace {

struct RoleRights {
    QString role;
    QSet<Area> read;
    QSet<Area> write;
};

const std::vector<RoleRights> &roleTable()
{
    using A = Area;
    static const std::vector<RoleRights> table = {
        {kAdministrator,
         {A::Register, A::Records, A::GradeSalary, A::Pay, A::Codes, A::Operators, A::Upkeep},
         {A::Register, A::Records, A::GradeSalary, A::Pay, A::Codes, A::Operators, A::Upkeep}},
        // Adding an employee writes the first row of every history, the grade salary's too.
        {kPersonnel, {A::Register, A::Records, A::GradeSalary, A::Codes}, {A::Register, A::Records, A::GradeSalary}},
        {kPayroll, {A::Register, A::Records, A::GradeSalary, A::Pay, A::Codes}, {A::GradeSalary, A::Pay}},
        {kQuery, {A::Register, A::Records, A::GradeSalary, A::Pay, A::Codes}, {}},
    };
    return table;
}

const RoleRights *find(const QString &role)
{
    for (const RoleRights &r : roleTable())
        if (r.role == role)
            return &r;
    return nullptr;
}

const QHash<QString, Area> &tableAreas()
{
    using A = Area;
    static const QHash<QString, Area> areas = [] {
        QHash<QString, Area> a;
        for (const char *t : {"zghmc", "dwdtb", "zwdtb", "zcdtb", "gwjndtb", "gbllb", "pojlb", "jtcyb", "gwgxb",
                              "hyjlb", "gzjlb", "xxjlb"})
            a.insert(t, A::Register);
        for (const char *t : {"jcjlb", "kqjlb", "pxnrb", "pxjlb", "ndkhb"})
            a.insert(t, A::Records);
        a.insert("zwdjdtb", A::GradeSalary);
        for (const char *t : {"gzb", "jjb", "btb", "gzzd"})
            a.insert(t, A::Pay);
        for (const char *t : {"dwdmb", "zwjbdmb", "zwdmb", "zcjbdmb", "jslbdmb", "zcdmb", "mzdmb", "whcddmb", "dpdmb",
                              "gwjnlbb", "gwjndmb", "zwdjdmb", "kqfsb"})
            a.insert(t, A::Codes);
        a.insert("czydmb", A::Operators);
        return a;
    }();
    return areas;
}

struct ScreenRule {
    Area area;
    bool writes;  // the screen does nothing but write
};

const QHash<QString, ScreenRule> &screenRules()
{
    using A = Area;
    static const QHash<QString, ScreenRule> rules = [] {
        QHash<QString, ScreenRule> r;
        for (const char *s : {"Tfrmgzlr", "Tfrmzggzcx", "TFrmgsngztj", "TFrmgsygztj", "TFrmgsngzdz", "TFrmgsygzdz",
                              "Tfrmzggzzhcx", "Tfrmgzgs"})
            r.insert(s, {A::Pay, false});
        r.insert("Tfrmczydm", {A::Operators, false});
        r.insert("Tfrmsjbf", {A::Upkeep, false});
        r.insert("Tfrmzgdr", {A::Register, true});
        return r;
    }();
    return rules;
}

Session &current()
{
    static Session s;
    return s;
}

}  // namespace

QStringList roles()
{
    QStringList names;
    for (const RoleRights &r : roleTable())
        names << r.role;
    return names;
}

bool isRole(const QString &role) { return find(role) != nullptr; }

bool mayRead(const QString &role, Area area)
{
    const RoleRights *r = find(role);
    return r && r->read.contains(area);
}

bool mayWrite(const QString &role, Area area)
{
    const RoleRights *r = find(role);
    return r && r->write.contains(area);
}

std::optional<Area> areaOf(const QString &table)
{
    const auto found = tableAreas().constFind(table);
    if (found == tableAreas().constEnd())
        return std::nullopt;
    return *found;
}

bool mayOpen(const QString &role, const QString &screenClass)
{
    if (!isRole(role))
        return false;
    const auto rule = screenRules().constFind(screenClass);
    if (rule == screenRules().constEnd())
        return true;
    return rule->writes ? mayWrite(role, rule->area) : mayRead(role, rule->area);
}

const Session &session() { return current(); }

void setSession(const Session &session) { current() = session; }

void requireWrite(Area area)
{
    if (!mayWrite(session().role, area))
        throw sql::Failure(kDeniedMessage, sql::Failure::Kind::Denied);
}

void requireWrite(const QString &table)
{
    if (const std::optional<Area> area = areaOf(table))
        requireWrite(*area);
}

}  // namespace rights
