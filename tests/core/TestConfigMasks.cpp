#include "core/ConfigMasks.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {
const std::optional<QString> none;
}

class TestConfigMasks : public QObject {
    Q_OBJECT
private slots:
    void positionField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<std::optional<QString>>("text");
        QTest::addColumn<double>("degrees"); // NaN: no value
        const double nan = qQNaN();
        QTest::newRow("comma") << "50,5" << std::optional<QString>("50,5") << 50.5;
        QTest::newRow("point becomes comma") << "50.5" << std::optional<QString>("50,5") << 50.5;
        QTest::newRow("south") << "-33,9" << std::optional<QString>("-33,9") << -33.9;
        QTest::newRow("west, three places") << "-122.4" << std::optional<QString>("-122,4") << -122.4;
        QTest::newRow("whole degrees") << "30" << std::optional<QString>("30") << 30.0;
        QTest::newRow("mask blanks around") << "_ 30,1 _" << std::optional<QString>("30,1") << 30.1;
        QTest::newRow("four places") << "1234,5" << std::optional<QString>("1234,5") << 1234.5;
        QTest::newRow("sign and four places") << "-1234" << none << nan;
        QTest::newRow("two decimals") << "50,55" << none << nan;
        QTest::newRow("letters") << "5O,5" << none << nan;
        QTest::newRow("empty") << "" << none << nan;
        QTest::newRow("comma alone") << "," << none << nan;
    }
    void positionField()
    {
        QFETCH(QString, typed);
        QFETCH(std::optional<QString>, text);
        QFETCH(double, degrees);
        QCOMPARE(ConfigMasks::positionText(typed), text);
        if (text) {
            QVERIFY(ConfigMasks::positionPartial(*text));
            const auto value = ConfigMasks::positionValue(*text);
            QVERIFY(value);
            QCOMPARE(*value, degrees);
        }
    }

    void offsetFields_data()
    {
        QTest::addColumn<bool>("hours");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<std::optional<QString>>("text");
        QTest::newRow("hours default") << true << "-03" << std::optional<QString>("-03");
        QTest::newRow("hours padded") << true << "-3" << std::optional<QString>("-03");
        QTest::newRow("hours plus") << true << "+5" << std::optional<QString>("+05");
        QTest::newRow("hours unsigned") << true << "5" << std::optional<QString>("05");
        QTest::newRow("hours mask blanks") << true << "-3_" << std::optional<QString>("-03");
        QTest::newRow("hours three digits") << true << "123" << none;
        QTest::newRow("hours sign only") << true << "-" << none;
        QTest::newRow("hours empty") << true << "" << none;
        QTest::newRow("minutes") << false << "30" << std::optional<QString>("30");
        QTest::newRow("minutes padded") << false << "5" << std::optional<QString>("05");
        QTest::newRow("minutes with sign") << false << "-5" << none;
        QTest::newRow("minutes three digits") << false << "300" << none;
    }
    void offsetFields()
    {
        QFETCH(bool, hours);
        QFETCH(QString, typed);
        QFETCH(std::optional<QString>, text);
        QCOMPARE(hours ? ConfigMasks::utcHoursText(typed) : ConfigMasks::utcMinutesText(typed), text);
    }

    void typingIsLetThroughOnlyWhenItCanStillFit_data()
    {
        QTest::addColumn<int>("mask"); // 0 position, 1 hours, 2 minutes
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("state");
        QTest::newRow("position being typed") << 0 << "-" << int(QValidator::Intermediate);
        QTest::newRow("position with a point") << 0 << "50." << int(QValidator::Intermediate);
        QTest::newRow("position done") << 0 << "50,5" << int(QValidator::Acceptable);
        QTest::newRow("position letter") << 0 << "5a" << int(QValidator::Invalid);
        QTest::newRow("position too long") << 0 << "-123,45" << int(QValidator::Invalid);
        QTest::newRow("hours one digit") << 1 << "-3" << int(QValidator::Intermediate);
        QTest::newRow("hours done") << 1 << "-03" << int(QValidator::Acceptable);
        QTest::newRow("hours letter") << 1 << "x" << int(QValidator::Invalid);
        QTest::newRow("minutes done") << 2 << "45" << int(QValidator::Acceptable);
        QTest::newRow("minutes sign") << 2 << "-" << int(QValidator::Invalid);
    }
    void typingIsLetThroughOnlyWhenItCanStillFit()
    {
        QFETCH(int, mask);
        QFETCH(QString, typed);
        QFETCH(int, state);
        const ConfigMasks::Validator validators[] = {
            {ConfigMasks::positionText, ConfigMasks::positionPartial, nullptr},
            {ConfigMasks::utcHoursText, ConfigMasks::utcHoursPartial, nullptr},
            {ConfigMasks::utcMinutesText, ConfigMasks::utcMinutesPartial, nullptr}};
        int position = 0;
        QCOMPARE(int(validators[mask].validate(typed, position)), state);
    }
};

QTEST_MAIN(TestConfigMasks)
#include "TestConfigMasks.moc"
