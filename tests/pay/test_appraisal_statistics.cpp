// The appraisal counts and shares per department, against the per-department count statements
// written out literally, on a generated organisation and on a small fixture.

#include "app/striped_grid.h"
#include "demo/demo_organisation.h"
#include "pay/appraisal.h"
#include "pay/appraisal_statistics.h"
#include "pay/appraisal_statistics_screen.h"
#include "staff/employee_fixture.h"

#include <QSpinBox>
#include <QTest>

namespace {

const QString kCountBase = QStringLiteral(
    "from ndkhb, zghmc, dwdtb where zghmc.职工编码=ndkhb.职工编码 and dwdtb.职工编码=zghmc.职工编码 "
    "and dwdtb.自动编号 in (select max(自动编号) from dwdtb where cast(substr(变动时间,1,4) as integer)<=ndkhb.年度 "
    "group by 职工编码) and 年度=%1");

// The counts as the statement list states them: the departments with their head counts, then
// three count statements per department.
QList<QVariantList> literalCounts(const QSqlDatabase &db, int year)
{
    QList<QVariantList> rows;
    QSqlQuery departments(db);
    departments.exec("select dwdtb.单位编码, count(ndkhb.职工编码) " + kCountBase.arg(year) + " group by dwdtb.单位编码 order by dwdtb.单位编码");
    while (departments.next()) {
        const QString code = departments.value(0).toString();
        QVariantList row = {code, queryValue(db, "select coalesce((select 单位名称 from dwdmb where 单位编码='" + code + "'), '')"),
                            departments.value(1)};
        for (const char *result : {"优秀", "及格", "不及格"})
            row << queryValue(db, "select count(ndkhb.职工编码) " + kCountBase.arg(year)
                                      + QString(" and 考核成绩='%1' and dwdtb.单位编码='%2'").arg(result, code));
        rows << row;
    }
    return rows;
}

}  // namespace

class TestAppraisalStatistics : public QObject {
    Q_OBJECT
private slots:
    void countsMatchTheStatementsOnAGeneratedOrganisation()
    {
        ProgramFolder folder;
        demo::Options options;
        options.employees = 400;
        demo::generate(folder.db(), options);
        for (int year = options.anchor.year() - 3; year <= options.anchor.year(); ++year) {
            const pay::Grid grid = pay::appraisalStatistics(folder.db(), year, pay::AppraisalCounts::Counts);
            QCOMPARE(rowsAsText(grid.rows), rowsAsText(literalCounts(folder.db(), year)));
            QCOMPARE(grid.rows.isEmpty(), year == options.anchor.year());  // no sheet yet
        }
    }

    void sharesOfEachDepartment()
    {
        ProgramFolder folder;
        for (const char *code : {"000101", "000102", "000103"})
            addEmployee(folder.db(), code, "01");
        addEmployee(folder.db(), "000104", "02");
        addEmployee(folder.db(), "000105", "03");
        pay::generateAppraisalSheet(folder.db(), 2004);
        sql::exec(folder.db(), "update ndkhb set 考核成绩='优秀' where 职工编码='000101'");
        sql::exec(folder.db(), "update ndkhb set 考核成绩='良好' where 职工编码='000105'");  // none of the three
        const pay::Grid grid = pay::appraisalStatistics(folder.db(), 2004, pay::AppraisalCounts::Shares);
        QCOMPARE(grid.titles, QStringList({"单位编码", "单位名称", "职工人数", "优秀人数", "占比", "及格人数", "占比",
                                           "不及格人数", "占比"}));
        QCOMPARE(pay::toCsv({grid}).split('\n').mid(2, 3), QStringList({"01,经理办公室,3,1,33.3333333333333,2,66.6666666666667,0,0",
                                                                      "02,人事科,1,0,0,1,100,0,0", "03,财务科,1,0,0,0,0,0,0"}));
        // Shares are numbers: right-aligned in the grid, number cells in a workbook.
        QCOMPARE(grid.rows[0][4].typeId(), QMetaType::Double);
    }

    void theScreensFollowTheYear()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "01");
        pay::generateAppraisalSheet(folder.db(), 2004);
        TestHost host;
        auto *screen = new AppraisalStatisticsScreen(host, pay::AppraisalCounts::Counts);
        QCOMPARE(screen->objectName(), "Tfrmndkhtj");
        QCOMPARE(screen->rows()->rowCount(), 0);  // this year has no sheet
        screen->yearBox()->setValue(2004);
        QCOMPARE(rowsAsText(screen->rows()->rows()), QStringList{"01 经理办公室 1 0 1 0"});
        screen->close();
    }
};

QTEST_MAIN(TestAppraisalStatistics)
#include "test_appraisal_statistics.moc"
