#include "platform/image/ImageDecoder.h"

#include "platform/image/CameraJpeg.h"

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

// `jpeg` with the frame header claiming another size; the scan data stays.
QByteArray claiming(QByteArray jpeg, int width, int height)
{
    for (const char marker : {'\xC0', '\xC2'}) {
        const qsizetype frame = jpeg.indexOf(QByteArray("\xFF", 1) + marker);
        if (frame > 0) {
            const char size[4] = {char(height >> 8), char(height & 0xFF), char(width >> 8), char(width & 0xFF)};
            jpeg.replace(frame + 5, 4, QByteArray(size, 4));
            return jpeg;
        }
    }
    return {};
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

    // Pictures past the image-memory limit are decoded at a reduced scale.
    void largePictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QSize>("expected"); // empty: refused as too large
        const QByteArray camera = cameraJpeg(7200, 5400, false);
        QTest::newRow("camera picture on a 1280 x 800 screen") << camera << QSize(1280, 800) << QSize(1800, 1350);
        QTest::newRow("camera picture, no size given") << camera << QSize() << QSize(6300, 4725);
        QTest::newRow("camera picture in a small view") << camera << QSize(200, 150) << QSize(900, 675);
        const QByteArray progressive = cameraJpeg(64, 48, true);
        QTest::newRow("progressive whose buffers fit")
            << claiming(progressive, 7200, 5400) << QSize(1280, 800) << QSize(1800, 1350);
        QTest::newRow("progressive whose buffers do not fit")
            << claiming(progressive, 10000, 8000) << QSize(1280, 800) << QSize();
        QTest::newRow("over a hundred megapixels")
            << claiming(cameraJpeg(64, 48, false), 12000, 9000) << QSize(1280, 800) << QSize();
    }
    void largePictures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, shown);
        QFETCH(QSize, expected);
        QVERIFY(!bytes.isEmpty());
        try {
            const QImage image = Image::decode(bytes, shown);
            QCOMPARE(image.size(), expected);
            if (bytes.size() > 10000) {
                QVERIFY(qAbs(qGray(image.pixel(10, 5)) - qGray(qRgb(200, 30, 40))) < 16);
                QVERIFY(qAbs(qGray(image.pixel(10, image.height() - 5)) - qGray(qRgb(20, 40, 220))) < 16);
            }
        } catch (const Image::DecodeError &e) {
            QVERIFY2(expected.isEmpty(), e.what());
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("JPEG error: The picture is too large"));
        }
    }

    // A picture repeating a scan past any camera's count is refused before
    // it keeps the window busy; an ordinary progressive one decodes.
    void manyScans_data()
    {
        QTest::addColumn<int>("repeats");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("as written") << 1 << true;
        QTest::newRow("last scan 400 times") << 400 << true;
        QTest::newRow("last scan 5,000 times") << 5000 << false;
    }
    void manyScans()
    {
        QFETCH(int, repeats);
        QFETCH(bool, decodes);
        try {
            QCOMPARE(Image::decode(repeatedLastScan(cameraJpeg(64, 48, true), repeats)).size(), QSize(64, 48));
            QVERIFY(decodes);
        } catch (const Image::DecodeError &e) {
            QVERIFY2(!decodes, e.what());
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("JPEG error: The picture has too many scans"));
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
