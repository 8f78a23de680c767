#include "AdifFiles.h"

#include "exchange/AdifContact.h"
#include "exchange/AdifReader.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>
#include <vector>

namespace {

// Every record as "NAME=value;NAME=value", records joined by " | ". All are
// read before any is looked at: a record outlives the reader's next piece.
QString render(AdifReader &reader)
{
    std::vector<AdifRecord> read;
    while (const auto record = reader.next())
        read.push_back(*record);
    QStringList records;
    for (const AdifRecord &record : read) {
        QStringList fields;
        for (int i = 0; i < record.size(); ++i)
            fields << record.name(i) + u'=' + record.value(i);
        records << fields.join(u';');
    }
    return records.join(u" | ");
}

// A disk that fails once `good` bytes were read, counting every pass.
class FailingDevice : public QBuffer {
public:
    FailingDevice(QByteArray *bytes, qint64 good) : QBuffer(bytes), good_(good) {}

protected:
    qint64 readData(char *data, qint64 length) override
    {
        if (length > good_) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 got = QBuffer::readData(data, length);
        good_ -= got;
        return got;
    }

private:
    qint64 good_;
};

int endMarks(const QByteArray &bytes, const char *mark = "<EOR>")
{
    return int(bytes.toUpper().count(mark));
}

} // namespace

class TestAdifReader : public QObject {
    Q_OBJECT
private slots:
    void records_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("dropped");
        QTest::newRow("one record per line, CR LF")
            << QByteArray("<CALL:5>QB1AA <BAND:3>20M <EOR>\r\n<CALL:5>QB2BB <BAND:2>6M <EOR>\r\n")
            << "CALL=QB1AA;BAND=20M | CALL=QB2BB;BAND=6M" << 0;
        QTest::newRow("record across lines")
            << QByteArray("<CALL:5>QB1AA\n<BAND:3>20M\n\n<MODE:2>CW <EOR>") << "CALL=QB1AA;BAND=20M;MODE=CW" << 0;
        QTest::newRow("no blanks between tags")
            << QByteArray("<CALL:5>QB1AA<BAND:3>20M<EOR><CALL:5>QB2BB<EOR>") << "CALL=QB1AA;BAND=20M | CALL=QB2BB"
            << 0;
        QTest::newRow("lower-case tags and marks")
            << QByteArray("<adif_ver:5>3.1.4 <eoh>\n<call:6>dl4bdf <Band:3>80m <eor>") << "CALL=dl4bdf;BAND=80m"
            << 0;
        QTest::newRow("type indicators")
            << QByteArray("<CALL:5:S>QB1AA <QSO_DATE:8:D>20030115 <TIME_ON:4:T>1234 <EOR>")
            << "CALL=QB1AA;QSO_DATE=20030115;TIME_ON=1234" << 0;
        QTest::newRow("text before the header and two headers")
            << QByteArray("Exported by a logger\n<ADIF_VER:5>3.1.4 <EOH>\n<PROGRAMID:3>ABC\n<EOH>\n<CALL:5>QB1AA <EOR>")
            << "CALL=QB1AA" << 0;
        QTest::newRow("header starting with a field")
            << QByteArray("<ADIF_VERS:3>2.2\n<PROGRAMID:3>CSN\n<EOH>\n<CALL:5>QB1AA <EOR>") << "CALL=QB1AA" << 0;
        QTest::newRow("no header") << QByteArray("<CALL:5>QB1AA <EOR>") << "CALL=QB1AA" << 0;
        QTest::newRow("three-digit and zero-padded lengths")
            << (QByteArray("<NOTES:100>") + QByteArray(100, 'x') + "<CALL:005>QB1AA <EOR>")
            << "NOTES=" + QString(100, u'x') + ";CALL=QB1AA" << 0;
        QTest::newRow("value holding a tag and line breaks")
            << QByteArray("<ADDRESS:18>Main St\n<EOR>\nCity <CALL:5>QB1AA <EOR>")
            << "ADDRESS=Main St\n<EOR>\nCity;CALL=QB1AA" << 0;
        QTest::newRow("empty values and tags without length")
            << QByteArray("<COMMENT:0>\n<APP_X>\n<CALL:5>QB1AA <EOR>") << "COMMENT=;CALL=QB1AA" << 0;
        QTest::newRow("UTF-8, bytes counted")
            << QByteArray("<QTH:18>41900 Petäjävesi <EOR>") << "QTH=41900 Petäjävesi" << 0;
        QTest::newRow("UTF-8, characters counted")
            << QByteArray("<NAME:4>Jörg\n<EOR>") << "NAME=Jörg" << 0;
        QTest::newRow("UTF-8, characters counted before a tag")
            << QByteArray("<NAME:4>Jörg<QTH:3>Ulm<EOR>") << "NAME=Jörg;QTH=Ulm" << 0;
        QTest::newRow("UTF-8, byte count ends inside a character")
            << QByteArray("<NAME:2>Jö <EOR>") << "NAME=Jö" << 0;
        QTest::newRow("Windows-1251")
            << QByteArray("<CALL:6>UA3AAA <NAME:4>\xc8\xe2\xe0\xed <QTH:6>\xcc\xee\xf1\xea\xe2\xe0 <EOR>")
            << "CALL=UA3AAA;NAME=Иван;QTH=Москва" << 0;
        QTest::newRow("no end mark at the end")
            << QByteArray("<CALL:5>QB1AA <EOR>\n<CALL:5>QB2BB <BAND:3>20M") << "CALL=QB1AA" << 1;
        QTest::newRow("length beyond the end")
            << QByteArray("<CALL:5>QB1AA <EOR>\n<CALL:5>QB2BB <NAME:10>Wal") << "CALL=QB1AA" << 1;
        QTest::newRow("huge length drops only its record")
            << QByteArray("<CALL:99999999999>QB1AA <EOR>\n<CALL:5>QB2BB <EOR>") << "CALL=QB2BB" << 1;
        QTest::newRow("missing '>' is passed over")
            << QByteArray("<CALL:5 QB1AA <EOR>\n<CALL:5>QB2BB <EOR>") << "CALL=QB2BB" << 0;
        QTest::newRow("length that is no number")
            << QByteArray("<CALL:x>QB1AA <BAND:3>20M <EOR>") << "BAND=20M" << 0;
        QTest::newRow("cut inside a tag") << QByteArray("<CALL:5>QB1AA <EOR><CALL:5") << "CALL=QB1AA" << 0;
        QTest::newRow("empty file") << QByteArray() << "" << 0;
    }
    void records()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QFETCH(int, dropped);
        AdifReader reader(file);
        QCOMPARE(render(reader), expected);
        QCOMPARE(reader.droppedRecords(), dropped);
        QVERIFY(!reader.next());
    }

    // A file read from a device a few bytes at a time gives what it gives
    // read whole, wherever a piece ends.
    void pieces_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("piece");
        const QByteArray two = "<CALL:5>QB1AA <BAND:3>20M <EOR>\n<CALL:5>QB2BB <EOR>";
        QTest::newRow("end inside a tag name") << two << 3;
        QTest::newRow("end inside a length") << QByteArray("<NOTES:12>abcdefghijkl <EOR>") << 8;
        QTest::newRow("end inside a value") << two << 11;
        QTest::newRow("end inside a UTF-8 character, bytes counted")
            << QByteArray("<QTH:18>41900 Petäjävesi <EOR>") << 13;
        QTest::newRow("end inside a UTF-8 character, characters counted")
            << QByteArray("<NAME:4>Jörg\n<EOR>") << 10;
        QTest::newRow("Windows-1251 only in a later piece")
            << QByteArray("<CALL:6>UA3AAA <NAME:4>\xc8\xe2\xe0\xed <EOR>") << 5;
        QTest::newRow("length beyond the end")
            << QByteArray("<CALL:5>QB1AA <EOR>\n<CALL:5>QB2BB <NAME:10>Wal") << 7;
        QTest::newRow("header, type indicators, one byte a piece")
            << QByteArray("ADIF\n<EOH>\n<CALL:5>QB1AA <NAME:4>Jörg <EOR>\r\n<CALL:6:S>QB2BBB <eor>") << 1;
    }
    void pieces()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, piece);
        AdifReader whole(file);
        const QString expected = render(whole);
        QBuffer device(&file);
        QVERIFY(device.open(QIODevice::ReadOnly));
        AdifReader reader(device, piece);
        QCOMPARE(reader.isUtf8(), whole.isUtf8());
        QCOMPARE(render(reader), expected);
        QCOMPARE(reader.droppedRecords(), whole.droppedRecords());
        QCOMPARE(reader.size(), file.size());
        QCOMPARE(reader.position(), file.size());
    }

    // A read that fails, for the encoding or for a record, is no end of file.
    void failedRead()
    {
        QByteArray file = "<CALL:5>QB1AA <EOR>\n<CALL:5>QB2BB <EOR>";
        for (const bool late : {false, true}) {
            FailingDevice device(&file, late ? file.size() + 10 : 10);
            QVERIFY(device.open(QIODevice::ReadOnly));
            try {
                AdifReader reader(device, 8);
                QVERIFY(late);
                while (reader.next()) {
                }
                QFAIL("no error");
            } catch (const AdifReader::ReadError &e) {
                QCOMPARE(QString::fromStdString(e.what()), QStringLiteral("Input/output error"));
            }
        }
    }

    void lookupByName()
    {
        AdifReader reader("<call:5>QB1AA <Call:5>QB2BB <Band:3>20M <EOR>");
        const auto record = reader.next();
        QVERIFY(record);
        QCOMPARE(record->value(QLatin1StringView("CALL")), QStringLiteral("QB1AA"));
        QVERIFY(record->has(QLatin1StringView("band")));
        QVERIFY(!record->has(QLatin1StringView("BAN")));
        QCOMPARE(record->value(QLatin1StringView("MODE")), QString());
    }

    // A file cut at any byte, or with bytes overwritten, gives the whole
    // records before the damage and never more records than it has marks.
    void damagedFiles()
    {
        const QByteArray file = "ADIF\n<EOH>\n<CALL:5>QB1AA <NAME:4>Jörg <EOR>\r\n"
                                "<CALL:6:S>QB2BBB <QSO_DATE:8>20030115 <EOR>\r\n<call:3>Q3C <eor>\r\n";
        for (qsizetype cut = 0; cut <= file.size(); ++cut) {
            const QByteArray head = file.left(cut);
            AdifReader reader(head);
            int records = 0;
            while (reader.next())
                ++records;
            QCOMPARE(records, endMarks(head));
            QVERIFY(records + reader.droppedRecords() <= 3);
        }
        QRandomGenerator random(12);
        const char noise[] = "<>:0123456789EORHeoh \r\n\xc3\xb6\xff";
        for (int round = 0; round < 2000; ++round) {
            QByteArray damaged = file;
            for (int k = random.bounded(1, 8); k > 0; --k)
                damaged[random.bounded(int(damaged.size()))] = noise[random.bounded(int(sizeof noise - 1))];
            AdifReader reader(damaged);
            int records = 0;
            while (const auto record = reader.next()) {
                ++records;
                for (int i = 0; i < record->size(); ++i) {
                    const QByteArrayView value = record->rawValue(i);
                    QVERIFY(value.data() >= damaged.constData());
                    QVERIFY(value.data() + value.size() <= damaged.constData() + damaged.size());
                }
            }
            QVERIFY(records <= endMarks(damaged, "<EOR"));
        }
    }

    // Files other loggers wrote: every record found, and the contacts the log
    // can take. Our own: the lower-case file's third record has no mode, the
    // typed file's third a month 13, the report's second no time. The corpus:
    // monolog's fourth record has no mode, the report has no times, pyadif's
    // last three have no call.
    void loggersFiles_data()
    {
        AdifFiles::addRows();
    }
    void loggersFiles()
    {
        QFETCH(QString, path);
        ADIF_FILES_SKIP_ABSENT(path);
        // By a word of the file's name; a file added later: records only.
        const std::pair<const char *, int> contactsOf[] = {
            {"handmade", 2}, {"typed_crlf", 3}, {"report_two", 2}, {"utf8_bytes", 3}, {"windows1251", 2},
            {"monolog", 3},  {"csn_sat", 24},   {"fle_crlf", 4},   {"hema", 33},      {"time4", 2},
            {"hamrs", 1},    {"loghx", 1},      {"lotw", 0},       {"pyadif", 2},     {"qlog", 1},
        };
        int contacts = -1;
        for (const auto &[word, count] : contactsOf) {
            if (contacts < 0 && QFileInfo(path).fileName().contains(QLatin1StringView(word)))
                contacts = count;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        AdifReader reader(bytes);
        int records = 0, stored = 0;
        while (const auto record = reader.next()) {
            ++records;
            if (AdifContact::fromRecord(*record).contact)
                ++stored;
        }
        QCOMPARE(records, endMarks(bytes));
        QCOMPARE(reader.droppedRecords(), 0);
        if (contacts >= 0)
            QCOMPARE(stored, contacts);
    }
};

QTEST_GUILESS_MAIN(TestAdifReader)
#include "TestAdifReader.moc"
