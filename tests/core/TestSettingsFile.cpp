#include "FileSizeLimit.h"

#include <cerrno>
#include <cstring>

#include "core/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

namespace {

QString crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void readingByKeyPrefix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // "<absent>" when the key is not read
        const QString absent = QStringLiteral("<absent>");
        const QString ordered = crlf({"[General]", "MyCall=UR5ABC", "Band=7", "", "[Grid]", "Box1D=False"});
        const QString shuffled = crlf({"Box1D=False", "[Grid]", "Band=7", "", "", "MyCall=UR5ABC", "[General]"});
        QTest::newRow("written order") << ordered << "MyCall" << "UR5ABC";
        QTest::newRow("shuffled, callsign") << shuffled << "MyCall" << "UR5ABC";
        QTest::newRow("shuffled, band") << shuffled << "Band" << "7";
        QTest::newRow("shuffled, date column") << shuffled << "Box1D" << "False";
        QTest::newRow("LF line ends") << "MyCall=UR5ABC\nBand=7\n" << "Band" << "7";
        QTest::newRow("no end at the last line") << "Band=7\r\nMode=CW" << "Mode" << "CW";
        QTest::newRow("blank after the key's =") << "Box1D= True\r\n" << "Box1D" << absent;
        QTest::newRow("blank before the key") << " Band=7\r\n" << "Band" << absent;
        QTest::newRow("lower-case key") << "box1d=False\r\nband=7\r\n" << "Box1D" << absent;
        QTest::newRow("Boolean neither True nor False") << "CheckRep=true\r\n" << "CheckRep" << absent;
        QTest::newRow("later line wins") << "Band=7\r\nBand=21\r\n" << "Band" << "21";
        QTest::newRow("a rejected Boolean keeps the earlier line")
            << "Box1T=False\r\nBox1T=yes\r\n" << "Box1T" << "False";
        QTest::newRow("empty text value") << "MyName=\r\n" << "MyName" << "";
        QTest::newRow("value with = and blanks") << "GInfo= a=b \r\n" << "GInfo" << " a=b ";
        QTest::newRow("unknown key") << "MyCallX=UR5ABC\r\n" << "MyCall" << absent;
        QTest::newRow("key without =") << "MyCall\r\n" << "MyCall" << absent;
        QTest::newRow("fixed program names are not read") << "PrN9=Mine\r\nPrN8=Mine\r\n" << "PrN9" << absent;
        QTest::newRow("their paths are") << "Pr8=/opt/digipan\r\n" << "Pr8" << "/opt/digipan";
        QTest::newRow("CheckSou under Bases") << "[Bases]\r\nCheckSou=True\r\n" << "CheckSou" << "True";
        QTest::newRow("index") << "InfA=2\r\n" << "InfA" << "2";
        QTest::newRow("index with a sign") << "InfA=+1\r\n" << "InfA" << "1";
        QTest::newRow("bad index keeps the earlier line") << "InfA=1\r\nInfA=x\r\n" << "InfA" << "1";
        QTest::newRow("index out of range") << "InfA=3\r\n" << "InfA" << absent;
        QTest::newRow("Cyrillic text") << QString::fromUtf8("GQth=Киев\r\n") << "GQth" << QString::fromUtf8("Киев");
    }
    void readingByKeyPrefix()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const SettingsFile::Reading reading = SettingsFile::parse(text);
        if (expected == QLatin1String("<absent>"))
            QVERIFY2(!reading.values.contains(key), qPrintable(reading.values.value(key)));
        else
            QCOMPARE(reading.values.value(key, QStringLiteral("<absent>")), expected);
    }

    void badIndexIsReportedOnceAndTheRestIsRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        QTest::newRow("good") << "InfA=1\r\nMyCall=UR5ABC\r\n" << "";
        QTest::newRow("letters") << "InfA=x\r\nMyCall=UR5ABC\r\n" << "Bad InfA value in Tarnel.ini: x";
        QTest::newRow("fraction") << "InfA=1.5\r\nMyCall=UR5ABC\r\n" << "Bad InfA value in Tarnel.ini: 1.5";
        QTest::newRow("negative") << "MyCall=UR5ABC\r\nInfA=-1\r\n" << "Bad InfA value in Tarnel.ini: -1";
        QTest::newRow("empty") << "InfA=\r\nMyCall=UR5ABC\r\n" << "Bad InfA value in Tarnel.ini: ";
        QTest::newRow("two bad lines, the first reported")
            << "InfA=9\r\nMyCall=UR5ABC\r\nInfA=y\r\n" << "Bad InfA value in Tarnel.ini: 9";
    }
    void badIndexIsReportedOnceAndTheRestIsRead()
    {
        QFETCH(QString, text);
        QFETCH(QString, problem);
        const SettingsFile::Reading reading = SettingsFile::parse(text);
        QCOMPARE(reading.problem, problem);
        QCOMPARE(reading.values.value(QStringLiteral("MyCall")), QStringLiteral("UR5ABC"));
    }

    void writtenFileReadsBackTheSame()
    {
        SettingsFile::Values values;
        int n = 0;
        for (const SettingsFile::Section &section : SettingsFile::layout())
            for (const SettingsFile::Key &key : section.keys)
                values.insert(key.name, key.kind == SettingsFile::Kind::Boolean ? QStringLiteral("True")
                                        : key.kind == SettingsFile::Kind::Index ? QStringLiteral("2")
                                                                                 : QStringLiteral("v%1").arg(++n));
        SettingsFile::Values expected = values;
        expected.remove(QStringLiteral("PrN8"));
        expected.remove(QStringLiteral("PrN9"));
        const SettingsFile::Reading reading = SettingsFile::parse(QString::fromUtf8(SettingsFile::compose(values)));
        QCOMPARE(reading.values, expected);
        QVERIFY(reading.problem.isEmpty());
    }

    void layoutOfTheWrittenFile()
    {
        const QByteArray bytes = SettingsFile::compose({{QStringLiteral("MyCall"), QStringLiteral("UR5ABC")},
                                                        {QStringLiteral("Pr8"), QStringLiteral("C:\\")}});
        const QList<QByteArray> lines = bytes.split('\n');
        // 5 headers, 4 separating empty lines, 65 keys, and nothing after the last CR LF.
        QCOMPARE(lines.size(), 5 + 4 + 65 + 1);
        QVERIFY(lines.last().isEmpty());
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            QVERIFY2(lines[i].endsWith('\r'), lines[i].constData());
        QCOMPARE(lines[0], QByteArray("[General]\r"));
        QCOMPARE(lines[1], QByteArray("MyCall=UR5ABC\r"));
        QCOMPARE(lines[lines.size() - 2], QByteArray("Pr8=C:\\\r"));
        const QByteArray sections = "[General]\r\n", bases = "\r\n[Bases]\r\nEditVCD=\r\n",
                         grid = "CheckHamA=\r\n\r\n[Grid]\r\nBox1D=", logs = "GInfo=\r\n\r\n[LogName]\r\nLog1=",
                         programs = "Log3=\r\n\r\n[Programs]\r\nPrN1=";
        for (const QByteArray &part : {sections, bases, grid, logs, programs})
            QVERIFY2(bytes.contains(part), part.constData());
        QVERIFY(bytes.contains("Pr6=\r\nPrN9=\r\nPr9=\r\nPrN8=\r\nPr8="));
        QVERIFY(bytes.contains("CheckVCDA=\r\nCheckSou=\r\nCheckQRZ="));
    }

    void readingAcceptsUtf8AndWindows1251_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8") << QByteArray("GQth=\xd0\x9a\xd0\xb8\xd0\xb5\xd0\xb2\r\n");
        QTest::newRow("Windows-1251") << QByteArray("GQth=\xca\xe8\xe5\xe2\r\n");
    }
    void readingAcceptsUtf8AndWindows1251()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QFile file(dir.filePath("Tarnel.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const QString text = SettingsFile::readFile(file.fileName());
        QCOMPARE(SettingsFile::parse(text).values.value("GQth"), QString::fromUtf8("Киев"));
    }

    // A file written whole or in pieces (a long export): a write that fails
    // at any point, or a walk that stops, keeps the old file and nothing else.
    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("pieces"); // 0: written whole
        QTest::addColumn<bool>("stopped");
        QTest::newRow("whole") << 0 << false;
        QTest::newRow("limit passed in the first of many pieces") << 50 << false;
        QTest::newRow("the walk stops") << 3 << true;
    }
    void failedWriteKeepsTheOldFile()
    {
        QFETCH(int, pieces);
        QFETCH(bool, stopped);
        QTemporaryDir dir;
        const QString path = dir.filePath("Tarnel.ini");
        SettingsFile::writeFile(path, "old\r\n");
        const QByteArray piece(100000, 'x');
        QString message;
        {
            FileSizeLimit limit(16);
            try {
                if (pieces == 0) {
                    SettingsFile::writeFile(path, SettingsFile::compose({}));
                } else {
                    SettingsFile::writeFile(path, [&](const SettingsFile::Sink &sink) {
                        for (int i = 0; i < pieces; ++i) {
                            if (stopped && i == 1)
                                throw std::runtime_error("stopped");
                            sink(piece);
                            errno = EAGAIN; // what the walk between two pieces may leave
                        }
                    });
                }
            } catch (const std::runtime_error &e) {
                message = QString::fromUtf8(e.what());
            }
        }
        // The system's reason, not an empty one, "Unknown error" or a later errno.
        if (stopped)
            QCOMPARE(message, QStringLiteral("stopped"));
        else
            QVERIFY2(message.contains(path) && message.contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                     qPrintable(message));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Tarnel.ini"});
    }

    void piecesMakeOneFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.adi");
        SettingsFile::writeFile(path, "old");
        SettingsFile::writeFile(path, [](const SettingsFile::Sink &sink) {
            for (const char *piece : {"a", "", "bc", "d"})
                sink(piece);
        });
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("abcd"));
    }
};

QTEST_MAIN(TestSettingsFile)
#include "TestSettingsFile.moc"
