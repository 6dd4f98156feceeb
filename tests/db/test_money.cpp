// Typed yuan text ↔ exact integer units, both ways, without floating point.

#include "db/money.h"

#include <QRegularExpression>
#include <QTest>

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("units");
        QTest::newRow("whole") << "3120" << true << qint64(31200000);
        QTest::newRow("one decimal") << "3120.5" << true << qint64(31205000);
        QTest::newRow("four decimals") << "0.0001" << true << qint64(1);
        QTest::newRow("trailing point") << "12." << true << qint64(120000);
        QTest::newRow("blanks around") << " 12.30 " << true << qint64(123000);
        QTest::newRow("negative") << "-1.25" << true << qint64(-12500);
        // 0.1 + 0.2 style sums are exact: no binary fraction in between.
        QTest::newRow("not a binary fraction") << "0.3" << true << qint64(3000);
        QTest::newRow("largest") << "99999999999999.9999" << true << qint64(999999999999999999);
        QTest::newRow("five decimals refused, not rounded") << "1.23456" << false << qint64(0);
        QTest::newRow("too large") << "100000000000000" << false << qint64(0);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("letters") << "12a" << false << qint64(0);
        QTest::newRow("grouping") << "1,200" << false << qint64(0);
        QTest::newRow("only a point") << "." << false << qint64(0);
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, units);
        const std::optional<qint64> parsed = money::parseYuan(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, units);
    }

    void formatRoundTrips_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << qint64(36000000) << "3600.00";
        QTest::newRow("cents") << qint64(31205000) << "3120.50";
        QTest::newRow("ten-thousandths") << qint64(12345) << "1.2345";
        QTest::newRow("zero") << qint64(0) << "0.00";
        QTest::newRow("negative small") << qint64(-1) << "-0.0001";
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-922337203685477.5808";
    }
    void formatRoundTrips()
    {
        QFETCH(qint64, units);
        QFETCH(QString, text);
        QCOMPARE(money::formatYuan(units), text);
        if (units != std::numeric_limits<qint64>::min())  // beyond what may be typed
            QCOMPARE(money::parseYuan(text), std::optional<qint64>(units));
    }

    void typingPatternAcceptsWhatParses()
    {
        const QRegularExpression typing("^" + money::typingPattern() + "$");
        for (const char *ok : {"", "3120", "3120.", "3120.5", "0.0001"})
            QVERIFY2(typing.match(ok).hasMatch(), ok);
        for (const char *bad : {"-1", "1.23456", "1e3", "1,2"})
            QVERIFY2(!typing.match(bad).hasMatch(), bad);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "test_money.moc"
