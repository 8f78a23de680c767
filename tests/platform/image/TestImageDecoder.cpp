#include "platform/image/ImageDecoder.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray encoded(const char *format, QImage::Format pixels = QImage::Format_RGB32)
{
    QImage image(64, 48, pixels);
    image.fill(QColor(200, 30, 40));
    // A second colour, so the scan data is more than one repeated block.
    for (int y = 24; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixelColor(x, y, QColor(20, 40, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

class TestImageDecoder : public QObject {
    Q_OBJECT

private slots:
    // Every picture gives an image or a DecodeError; none ends the program.
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decodes");
        const QByteArray jpeg = encoded("JPG");
        QRandomGenerator random(7);
        QByteArray noise(4000, '\0');
        for (char &c : noise)
            c = char(random.bounded(256));
        QTest::newRow("BMP") << encoded("BMP") << true;
        QTest::newRow("JPEG") << jpeg << true;
        QTest::newRow("grey JPEG") << encoded("JPG", QImage::Format_Grayscale8) << true;
        const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
        QVERIFY(scan > 0);
        QTest::newRow("JPEG cut in its scan data") << jpeg.left(scan + (jpeg.size() - scan) / 2) << true;
        QTest::newRow("JPEG cut in its header") << jpeg.left(40) << false;
        // Refused before gigabytes are allocated for it.
        const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(frame > 0);
        QByteArray huge = jpeg;
        huge.replace(frame + 5, 4, QByteArray("\x75\x30\x75\x30", 4));
        QTest::newRow("JPEG header claiming 30000 x 30000 pixels") << huge << false;
        QTest::newRow("JPEG marker, then noise") << QByteArray("\xFF\xD8\xFF", 3) + noise << false;
        QTest::newRow("random bytes") << noise << false;
        QTest::newRow("BMP cut short") << encoded("BMP").left(30) << false;
        QTest::newRow("nothing") << QByteArray() << false;
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decodes);
        try {
            const QImage image = Image::decode(bytes);
            QVERIFY(decodes);
            QCOMPARE(image.size(), QSize(64, 48));
            // The top half keeps its brightness, whatever the JPEG's loss.
            const int grey = qGray(image.pixel(10, 5));
            QVERIFY2(qAbs(grey - qGray(qRgb(200, 30, 40))) < 16, qPrintable(QString::number(grey)));
        } catch (const Image::DecodeError &e) {
            QVERIFY2(!decodes, e.what());
            QVERIFY(*e.what());
        }
    }

    // The bytes decide, not a name: a cut name loses its extension.
    void sniff_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::newRow("BM") << QByteArray("BM\0\0", 4) << int(Image::Format::Bmp);
        QTest::newRow("FF D8 FF") << QByteArray("\xFF\xD8\xFF\xE0", 4) << int(Image::Format::Jpeg);
        QTest::newRow("FF D8 alone") << QByteArray("\xFF\xD8", 2) << int(Image::Format::Unknown);
        QTest::newRow("PNG") << QByteArray("\x89PNG", 4) << int(Image::Format::Unknown);
    }
    void sniff()
    {
        QFETCH(QByteArray, bytes);
        QTEST(int(Image::sniffFormat(bytes)), "format");
    }
};

QTEST_GUILESS_MAIN(TestImageDecoder)
#include "TestImageDecoder.moc"
