#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/Unit3.h"
#include "platform/image/CameraJpeg.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Dialogs.h"
#include "utilities/UImage.h"

#include <QBuffer>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace {

QByteArray picture(const char *format)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QStringList calls(Db::Table &table)
{
    QStringList list;
    for (table.first(); !table.eof(); table.next())
        list << table.fieldByName("Call").asString();
    return list;
}

} // namespace

class TestPictureStore : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
    QHash<QString, QByteArray> files_;

    void add(const QString &name, const QByteArray &bytes)
    {
        const QString path = program_->path("pics/" + name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        files_[name] = bytes;
        dialogs_->fileNames.push_back(path);
        FImage->Button1Click();
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QDir(program_->path()).mkdir("pics");
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        // One second apart: the date-time is the table's unique key.
        FImage->now = [t = QDateTime(QDate(2024, 5, 1), QTime(10, 0))]() mutable { return t = t.addSecs(1); };
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // Add, show, search, clear, save and the look-ups by callsign, as the
    // operator uses the window.
    void pictureFlow()
    {
        add("QB1AA.jpg", picture("JPG"));
        add("QA1X.bmp", picture("BMP"));
        add("qa2y.jpg", picture("JPG"));
        add("UR5ZZ.bmp", picture("BMP"));
        add("ABCDEFGHIJKLMNOPQRSTUVW.jpg", picture("JPG"));
        Db::Table &t = FImage->Table1;
        QCOMPARE(t.recordCount(), 5);
        QCOMPARE(dialogs_->fileDialogs.first().filter, QStringLiteral("BMP (*.bmp *.jpg);;All (*)"));

        // Stored whole, labelled with the file name.
        QVERIFY(t.locate("R1", "QB1AA.jpg"));
        QCOMPARE(t.fieldByName("Call").asString(), QStringLiteral("QB1AA.jpg"));
        QCOMPARE(t.fieldByName("Fot1").asBytes(), files_["QB1AA.jpg"]);
        QCOMPARE(FImage->Image1->picture().size(), QSize(64, 48));

        // The callsign finds it only once the name is edited to it, exactly.
        QVERIFY(!FImage->hasPictureOf("QB1AA"));
        QVERIFY(!FImage->showPictureOf("QB1AA"));
        QVERIFY(!FImage->isVisible());
        // The operator edits the name in the grid; only that column edits.
        FImage->showWindow();
        QAbstractItemModel *grid = FImage->DBGrid1->model();
        const int row = FImage->DBGrid1->gridModel()->currentRow();
        QVERIFY(grid->flags(grid->index(row, 0)) & Qt::ItemIsEditable);
        QVERIFY(!(grid->flags(grid->index(row, 1)) & Qt::ItemIsEditable));
        QVERIFY(grid->setData(grid->index(row, 0), QStringLiteral("QB1AA")));
        QCOMPARE(grid->index(row, 0).data().toString(), QStringLiteral("QB1AA"));
        FImage->closeWindow();
        QVERIFY(!FImage->hasPictureOf("qb1aa"));
        QVERIFY(FImage->hasPictureOf("QB1AA"));
        t.first();
        QVERIFY(FImage->showPictureOf("QB1AA"));
        QVERIFY(FImage->isVisible());
        QCOMPARE(t.fieldByName("R1").asString(), QStringLiteral("QB1AA.jpg"));

        // A name cut to 20 characters lost its extension; the picture still shows.
        QVERIFY(t.locate("Call", "ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(FImage->Image1->picture().size(), QSize(64, 48));

        // Save proposes the stored file name and writes the bytes back.
        const QString saved = program_->path("saved.bmp");
        QVERIFY(t.locate("Call", "UR5ZZ.bmp"));
        dialogs_->fileNames.push_back(saved);
        FImage->Button4Click();
        QCOMPARE(dialogs_->fileDialogs.last().defaultName, QStringLiteral("UR5ZZ.bmp"));
        QFile out(saved);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), files_["UR5ZZ.bmp"]);

        // "qa" finds QA and qa, the last of them selected, marked by "*".
        FImage->Edit1->setText("qa");
        QCOMPARE(calls(t), (QStringList{"QA1X.bmp", "qa2y.jpg"}));
        FImage->Edit1Change();
        QCOMPARE(t.fieldByName("Call").asString(), QStringLiteral("qa2y.jpg"));
        QVERIFY(!FImage->Label1->isHidden());

        // Clear during a search deletes only the rows found.
        FImage->Clear1Click();
        FImage->Button3Click();
        QVERIFY(FImage->Label1->isHidden());
        QCOMPARE(calls(t), (QStringList{"ABCDEFGHIJKLMNOPQRST", "QB1AA", "UR5ZZ.bmp"}));

        // Sorted by date: order of adding.
        FImage->RadioGroup1->setItemIndex(1);
        QCOMPARE(calls(t), (QStringList{"QB1AA", "UR5ZZ.bmp", "ABCDEFGHIJKLMNOPQRST"}));

        QVERIFY(dialogs_->errors().isEmpty());
        QVERIFY(QDir(program_->path("Temp")).isEmpty());
    }

    // A picture that cannot be decoded gives the error box; the window goes on.
    void undecodablePicture()
    {
        const QByteArray jpeg = picture("JPG");
        add("header.jpg", jpeg.left(40));
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY(FImage->Image1->picture().isNull());
        add("noise.jpg", QByteArray(500, '\x5A'));
        QCOMPARE(dialogs_->errors().size(), 2);
        add("good.jpg", jpeg);
        QCOMPARE(dialogs_->errors().size(), 2);
        QCOMPARE(FImage->Image1->picture().size(), QSize(64, 48));
        FImage->Delete1Click();
        QCOMPARE(FImage->Table1.recordCount(), 2);
    }

    // A camera picture past the image-memory limit is shown, at screen size.
    void cameraPicture()
    {
        add("QB1AA.jpg", cameraJpeg(7200, 5400, false));
        QVERIFY(dialogs_->errors().isEmpty());
        const QImage &shown = FImage->Image1->picture();
        QVERIFY(!shown.isNull());
        const QSize screen = FImage->Image1->screen()->size();
        QVERIFY(shown.width() >= screen.width() || shown.height() >= screen.height());
        QVERIFY(shown.width() < 7200);
    }
};

QTEST_MAIN(TestPictureStore)
#include "TestPictureStore.moc"
