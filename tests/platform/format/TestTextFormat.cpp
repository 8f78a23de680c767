#include "platform/format/TextFormat.h"

#include <QLocale>
#include <QtTest>

using namespace TextFormat;

class TestTextFormat : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A locale with other separators must change nothing.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void dates_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected"); // "" = rejected
        QTest::newRow("plain") << "05.03.2024" << "05.03.2024";
        QTest::newRow("short parts") << "5.3.2024" << "05.03.2024";
        QTest::newRow("blanks") << " 31.12.1999 " << "31.12.1999";
        QTest::newRow("two-digit year") << "01.02.24" << "01.02.2024";
        QTest::newRow("leap day") << "29.02.2024" << "29.02.2024";
        QTest::newRow("no leap day") << "29.02.2023" << "";
        QTest::newRow("31 February") << "31.02.2024" << "";
        QTest::newRow("month 13") << "01.13.2024" << "";
        QTest::newRow("day 0") << "00.01.2024" << "";
        QTest::newRow("iso form") << "2024-03-05" << "";
        QTest::newRow("mask blanks") << "  .  .    " << "";
        QTest::newRow("three-digit year") << "01.02.024" << "";
        QTest::newRow("sign") << "+1.02.2024" << "";
        QTest::newRow("empty") << "" << "";
    }
    void dates()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const auto date = parseDate(input);
        QCOMPARE(date ? dateText(*date) : QString(), expected);
    }

    void times_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full") << "23:59:59" << "23:59:59";
        QTest::newRow("one-digit hour") << "7:05:00" << "07:05:00";
        QTest::newRow("no seconds") << "14:30" << "14:30:00";
        QTest::newRow("hour 24") << "24:00:00" << "";
        QTest::newRow("minute 60") << "12:60:00" << "";
        QTest::newRow("one-digit minute") << "12:5:00" << "";
        QTest::newRow("letters") << "ab:cd:ef" << "";
        QTest::newRow("empty") << "" << "";
    }
    void times()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const auto time = parseTime(input);
        QCOMPARE(time ? timeText(*time) : QString(), expected);
    }

    void dateTimes_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full") << "05.03.2024 14:30:15" << "05.03.2024 14:30:15";
        QTest::newRow("date only") << "05.03.2024" << "05.03.2024 00:00:00";
        QTest::newRow("bad time") << "05.03.2024 25:00:00" << "";
        QTest::newRow("bad date") << "32.03.2024 10:00:00" << "";
    }
    void dateTimes()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const auto dt = parseDateTime(input);
        QCOMPARE(dt ? dateTimeText(*dt) : QString(), expected);
    }

    void numberOutput_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("integer") << 14.0 << "14";
        QTest::newRow("fraction") << 50.45 << "50,45";
        QTest::newRow("negative") << -3.5 << "-3,5";
        QTest::newRow("one third") << 1.0 / 3.0 << "0,333333333333333";
        QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("huge") << 1e20 << "1E20";
        QTest::newRow("tiny") << 1.5e-7 << "1,5E-7";
        QTest::newRow("small fixed") << 0.0001 << "0,0001";
        QTest::newRow("rounded") << 0.1 + 0.2 << "0,3";
    }
    void numberOutput()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(numberText(value), expected);
    }

    void numberInput_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "50,45" << true << 50.45;
        QTest::newRow("point") << "50.45" << true << 50.45;
        QTest::newRow("negative") << "-30,5" << true << -30.5;
        QTest::newRow("blanks") << "  7 " << true << 7.0;
        QTest::newRow("exponent") << "1E20" << true << 1e20;
        QTest::newRow("leading separator") << ",5" << true << 0.5;
        QTest::newRow("two separators") << "1,234.5" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("inner blank") << "1 000" << false << 0.0;
    }
    void numberInput()
    {
        QFETCH(QString, input);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const auto parsed = parseNumber(input);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void numberRoundTrip()
    {
        for (double v : {30.5, -97.25, 49.9999, 12345.678901, 1e-3})
            QCOMPARE(*parseNumber(numberText(v)), v);
    }

    void integers_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qlonglong>("value");
        QTest::newRow("plain") << "42" << true << 42LL;
        QTest::newRow("negative") << "-7" << true << -7LL;
        QTest::newRow("blanks") << " 3 " << true << 3LL;
        QTest::newRow("fraction") << "3,5" << false << 0LL;
        QTest::newRow("empty") << "" << false << 0LL;
        QTest::newRow("overflow") << "99999999999999999999" << false << 0LL;
    }
    void integers()
    {
        QFETCH(QString, input);
        QFETCH(bool, valid);
        QFETCH(qlonglong, value);
        const auto parsed = parseInteger(input);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void cutting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short") << "UR5" << 5 << "UR5";
        QTest::newRow("cut") << "Asiatic Russia and more" << 15 << "Asiatic Russia ";
        QTest::newRow("cyrillic") << QString::fromUtf8("Україна-Київ") << 7 << QString::fromUtf8("Україна");
        QTest::newRow("surrogate kept whole")
            << QString::fromUtf8("ab\xF0\x9F\x93\xBB" "cd") << 3 << QString::fromUtf8("ab\xF0\x9F\x93\xBB");
        QTest::newRow("zero") << "abc" << 0 << "";
    }
    void cutting()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, expected);
        QCOMPARE(cutToWidth(text, width), expected);
    }

    // Values from files, pages and the clipboard: one line each, with the
    // same length, so no line break or column shift gets through.
    void controlCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("oneLine");
        QTest::addColumn<QString>("manyLines");
        QTest::newRow("clean") << "UR5AAA" << "UR5AAA" << "UR5AAA";
        QTest::newRow("CR LF") << "K1ABC\r\nEND-OF-LOG:" << "K1ABC  END-OF-LOG:" << "K1ABC\r\nEND-OF-LOG:";
        QTest::newRow("lone CR") << "Ru\rzu" << "Ru zu" << "Ru\rzu";
        QTest::newRow("tab") << "UR5AAA\t599" << "UR5AAA 599" << "UR5AAA\t599";
        QTest::newRow("escape, DEL, NUL") << QString::fromLatin1("a\x1b[2Jb\x7f\0c", 9) << "a [2Jb  c" << "a [2Jb  c";
        QTest::newRow("not a control") << QString::fromUtf8("Київ\u00a0\u00e9") << QString::fromUtf8("Київ\u00a0\u00e9")
                                       << QString::fromUtf8("Київ\u00a0\u00e9");
        // Line ends to many readers, and marks that reorder what is shown.
        QTest::newRow("C1 controls, NEL") << QString::fromUtf8("K1\u0080A\u0085END") << "K1 A END" << "K1 A END";
        QTest::newRow("line and paragraph separators")
            << QString::fromUtf8("K1ABC\u2028END-OF-LOG:\u2029") << "K1ABC END-OF-LOG: " << "K1ABC END-OF-LOG: ";
        QTest::newRow("bidirectional controls") << QString::fromUtf8("\u202eCBA1K\u202c \u2066x\u2069") << " CBA1K   x "
                                                << " CBA1K   x ";
    }
    void controlCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, oneLine);
        QFETCH(QString, manyLines);
        QCOMPARE(blankControls(text), oneLine);
        QCOMPARE(blankControls(text, Lines::Many), manyLines);
        QCOMPARE(fixedColumns({{text, 1}}), oneLine + QString(30, u' '));
    }

    void windows1251()
    {
        // "Привет" in Windows-1251.
        const QByteArray cp1251("\xCF\xF0\xE8\xE2\xE5\xF2");
        QCOMPARE(decode1251(cp1251), QString::fromUtf8("Привет"));
        QCOMPARE(decodeText(cp1251), QString::fromUtf8("Привет"));
        QCOMPARE(decodeText(QByteArray("Привет")), QString::fromUtf8("Привет"));
        QCOMPARE(decodeText(QByteArray("plain")), QString("plain"));
    }
};

QTEST_GUILESS_MAIN(TestTextFormat)
#include "TestTextFormat.moc"
