// ALSA's "null" device has no clock: capture gives silence as fast as it is
// read and playback swallows it, so a recording here is bounded by its frame
// cap, never by time.

#include "platform/audio/AlsaWaveDevice.h"

#include <QTemporaryDir>
#include <QtTest>

class TestAlsaWaveDevice : public QObject {
    Q_OBJECT

private slots:
    void recordSavePlayOnNull()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("LogS.wav"));
        QFile templ(path);
        QVERIFY(templ.open(QIODevice::WriteOnly));
        templ.write(Audio::pcm16Wave(8000, 1, {}));
        templ.close();

        Audio::AlsaWaveDevice device(QStringLiteral("null"), 2);
        QVERIFY(device.open(path));
        QVERIFY2(device.record(), qPrintable(device.errorText()));
        QTRY_COMPARE(device.frames(), qint64(16000));
        device.stop();
        QVERIFY(device.save());
        QCOMPARE(QFileInfo(path).size(), qint64(44 + 16000 * 2));

        QVERIFY(device.open(path));
        QCOMPARE(device.length(), qint64(2000));
        device.seek(1000);
        QCOMPARE(device.position(), qint64(1000));
        QVERIFY(device.play());
        QTRY_COMPARE(device.position(), qint64(2000));
        device.close();
        QVERIFY(device.playToEnd(path));
    }

    // "Cq.wav" or an alarm played during a recording leaves it running to
    // its cap: the capture is not ended by the playback.
    void playingAFileKeepsTheRecording()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Cq.wav"));
        QFile cq(path);
        QVERIFY(cq.open(QIODevice::WriteOnly));
        cq.write(Audio::pcm16Wave(8000, 1, QByteArray(800, '\0')));
        cq.close();

        const int seconds = 300;
        Audio::AlsaWaveDevice device(QStringLiteral("null"), seconds);
        QVERIFY(device.open(path));
        QVERIFY2(device.record(), qPrintable(device.errorText()));
        QVERIFY(device.playToEnd(path));
        QTRY_COMPARE(device.frames(), qint64(seconds) * 8000);
    }

    void missingDeviceIsReported()
    {
        QTemporaryDir dir;
        Audio::AlsaWaveDevice device(QStringLiteral("tarnel_no_such_device"));
        QVERIFY(device.open(dir.filePath(QStringLiteral("LogS.wav"))));
        QVERIFY(!device.record());
        QVERIFY2(device.errorText().startsWith(QStringLiteral("Cannot open the sound device tarnel_no_such_device: ")),
                 qPrintable(device.errorText()));
        QVERIFY(!device.playToEnd(dir.filePath(QStringLiteral("none.wav"))));
    }
};

QTEST_MAIN(TestAlsaWaveDevice)
#include "TestAlsaWaveDevice.moc"
