#include "core/ProgramFixture.h"
#include "core/SamplePrefixes.h"
#include "platform/web/LoopbackServer.h"

#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "lookups/UCallInt.h"
#include "lookups/UCluster.h"
#include "platform/ui/Dialogs.h"
#include "platform/web/PageLoader.h"

#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>

namespace {

QByteArray spotLine(const char *spotter, const char *gap, const char *frequency, const char *dx, const char *comment)
{
    return QByteArray(spotter) + gap + frequency + "  " + QByteArray(dx).leftJustified(8) +
           QByteArray(comment).leftJustified(30) + "1234Z 09 Dec 2026\n";
}

// The spots in a <pre>, then a footer of elements without text.
QByteArray spotPage(const QByteArray &lines)
{
    return "<html><head><title>Spots</title><script>var x = 1;</script></head><body><pre>" + lines +
           "</pre><div><hr><hr><hr><span></span><span></span><span></span></div></body></html>";
}

const QByteArray sixSpots = spotLine("DL1ABC", "  ", "14025.0", "UR5AAA", "CW up 2") +
                            spotLine("DL1ABC", "  ", "14025.0", "UR", "two characters") +
                            spotLine("DL1ABC", "  ", "7025.0", "UR7XX", "tnx") +
                            spotLine("DL1ABC", "  ", "21025.0", "UR7XX", "") +
                            spotLine("DL1ABC", "  ", "14025.0", "G4XYZ", "") +
                            spotLine("DL1ABC", " ", "14025.0", "UR5AAA", "single blank");

} // namespace

class TestWebLookups : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
    std::unique_ptr<LoopbackServer> server_;

    QStringList column(int c, int rows = 7) const
    {
        QStringList cells;
        for (int r = 1; r <= rows; ++r)
            cells << FDX_Cluster->cell(c, r);
        return cells;
    }
    // Loads the spot page and waits for its parse (or its failure).
    void loadSpots()
    {
        QSignalSpy loaded(FDX_Cluster->WebBrowser1, &Web::PageLoader::loaded);
        QSignalSpy failed(FDX_Cluster->WebBrowser1, &Web::PageLoader::failed);
        FDX_Cluster->Button2->click();
        QTRY_VERIFY_WITH_TIMEOUT(loaded.size() + failed.size() == 1, 5000);
    }
    void clickRow(int row)
    {
        FDX_Cluster->StringGrid1->setCurrentCell(row, 1);
        FDX_Cluster->StringGrid1Click();
    }

private slots:
    // Pages are read by the page reader of this build.
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("TARNEL_PAGE_READER"))
            qputenv("TARNEL_PAGE_READER", TARNEL_PAGE_READER_PATH);
    }

    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        server_ = std::make_unique<LoopbackServer>();
        qputenv("TARNEL_SPOT_URL", server_->url("/dxs/dx250.html").toEncoded());
        qputenv("TARNEL_CALLBOOK_URL", server_->url("/db/").toEncoded() + "%1");
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        FDX_Cluster->showWindow();
    }
    void cleanup()
    {
        destroyWindowSet();
        QVERIFY(dialogs_->errors().isEmpty());
        dialogs_.reset();
        server_.reset();
        program_.reset();
    }

    void spotsWithMarks()
    {
        Form3->MaskEditCall->setText("G4XYZ");
        server_->body = spotPage(sixSpots);
        loadSpots();
        QCOMPARE(server_->paths, QStringList{"/dxs/dx250.html"});
        QCOMPARE(FDX_Cluster->ProgressBar1->value(), 100);
        QCOMPARE(FDX_Cluster->cell(1, 0), QStringLiteral("       DX"));
        QCOMPARE(column(1), (QStringList{"UR5AAA", "UR", "UR7XX", "UR7XX", "G4XYZ", "UR5AAA", ""}));
        QCOMPARE(column(2), (QStringList{"14025.0", "14025.0", "7025.0", "21025.0", "14025.0", "4025.0", ""}));
        // Confirmed on 14 and worked on 7; nothing on 21, for another country,
        // a two-character DX or a frequency outside the bands.
        QCOMPARE(column(7), (QStringList{"cfm", "", "wkd", "", "", "", ""}));
        QCOMPARE(FDX_Cluster->cell(4, 1), QByteArray("CW up 2").leftJustified(28));
        QCOMPARE(FDX_Cluster->cell(5, 1), QStringLiteral("234Z"));
        QCOMPARE(FDX_Cluster->cell(6, 1), QStringLiteral("09 Dec 2"));
        // Every spot readable whole, every column in view.
        QTableWidget *grid = FDX_Cluster->StringGrid1;
        for (int c = 1; c < grid->columnCount(); ++c)
            for (int r = 1; r <= 6; ++r)
                QVERIFY2(grid->fontMetrics().horizontalAdvance(FDX_Cluster->cell(c, r)) < grid->columnWidth(c),
                         qPrintable(FDX_Cluster->cell(c, r)));
        QVERIFY(grid->horizontalHeader()->length() <= grid->viewport()->width());
        QCOMPARE(FDX_Cluster->LabFr->text(), QStringLiteral("4025.0"));
        QCOMPARE(FDX_Cluster->LabCal->text(), QStringLiteral("UR5AAA"));
        QVERIFY(QFile::exists(program_->path("clust.tmp")));
        QVERIFY(!QFile::exists(program_->path("cluster.tmp")));

        // The row click shows the country from the window's own cursors; the
        // callsign being entered keeps its country.
        clickRow(1);
        const QStringList shown{FDX_Cluster->LabelPref->text(),  FDX_Cluster->LabelCount->text(),
                                FDX_Cluster->Label_ZCQ->text(),  FDX_Cluster->Label_ZITU->text(),
                                FDX_Cluster->LabelCont->text(), FDX_Cluster->LabCfm->text()};
        QCOMPARE(shown, (QStringList{"UR", "Ukraine", "16", "29", "EU", "cfm"}));
        QCOMPARE(FDX_Cluster->LabFreq->text(), QStringLiteral("14025.0"));
        clickRow(2);
        QCOMPARE(FDX_Cluster->LabCal->text(), QStringLiteral("UR"));
        QCOMPARE(FDX_Cluster->LabelCount->text(), QString());
        QCOMPARE(FDX_Cluster->Label_ZCQ->text(), QStringLiteral("00"));
        QCOMPARE(FDX_Cluster->LabCfm->text(), QStringLiteral("NO"));
        QCOMPARE(Form3->EntryPrefix->country, QStringLiteral("England"));
        QCOMPARE(DM->Table3.fieldByName("Prefix").asString(), QStringLiteral("G"));

        // A double click re-reads the saved page without touching the marks.
        QFile spots(program_->path("clust.tmp"));
        QVERIFY(spots.open(QIODevice::WriteOnly));
        spots.write(spotLine("DL1ABC", "  ", "3505.0", "K1ABC", ""));
        spots.close();
        FDX_Cluster->StringGrid1DblClick();
        QCOMPARE(column(1, 2), (QStringList{"K1ABC", "UR"}));
        QCOMPARE(column(7, 3), (QStringList{"cfm", "", "wkd"}));

        // A shorter page leaves no spot of the longer one behind.
        server_->body = spotPage(spotLine("DL1ABC", "  ", "7025.0", "UR7XX", ""));
        loadSpots();
        QCOMPARE(column(1, 3), (QStringList{"UR7XX", "", ""}));
        QCOMPARE(column(7, 3), (QStringList{"wkd", "", ""}));
        QVERIFY(dialogs_->warnings().isEmpty());
    }

    // Links planted at the working files' names are replaced, never written
    // through.
    void workingFilesOverPlantedLinks()
    {
        const QStringList names{"clust.tmp", "cluster.tmp"};
        for (const QString &name : names) {
            QFile target(program_->path(name + ".target"));
            QVERIFY(target.open(QIODevice::WriteOnly));
            target.write("kept");
            target.close();
            QVERIFY(QFile::link(target.fileName(), program_->path(name)));
        }
        server_->body = spotPage(sixSpots);
        loadSpots();
        QCOMPARE(FDX_Cluster->cell(1, 1), QStringLiteral("UR5AAA"));
        for (const QString &name : names) {
            QFile target(program_->path(name + ".target"));
            QVERIFY(target.open(QIODevice::ReadOnly));
            QCOMPARE(target.readAll(), QByteArray("kept"));
        }
        QVERIFY(!QFileInfo(program_->path("clust.tmp")).isSymLink());
    }

    // A spot's texts are shown as they are: an image tag in the DX column
    // (escaped in the page's <pre>) never makes a label read a file. Every
    // label of every window shows plain text.
    void spotTextStaysText()
    {
        QImage picture(400, 400, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QString path = program_->path("picture.png");
        QVERIFY(picture.save(path));
        // No blank inside: the DX column ends at the first one.
        const QString dx = "<b><img\tsrc=" + path + "></b>";
        QByteArray escaped = dx.toUtf8();
        escaped.replace("<", "&lt;").replace(">", "&gt;");
        const int plainHeight = FDX_Cluster->LabCal->sizeHint().height();
        server_->body = spotPage(spotLine("DL1ABC", "  ", "14025.0", escaped.constData(), ""));
        loadSpots();
        QCOMPARE(FDX_Cluster->cell(1, 1), dx);
        QCOMPARE(FDX_Cluster->LabCal->text(), dx);
        QCOMPARE(FDX_Cluster->LabCal->textFormat(), Qt::PlainText);
        QCOMPARE(FDX_Cluster->LabCal->sizeHint().height(), plainHeight);
        clickRow(1);
        QCOMPARE(FDX_Cluster->LabCal->text(), dx);
        QCOMPARE(FDX_Cluster->LabCal->sizeHint().height(), plainHeight);

        QStringList notPlain;
        int labels = 0;
        for (QWidget *window : QApplication::topLevelWidgets())
            for (const QLabel *label : window->findChildren<QLabel *>()) {
                ++labels;
                if (label->textFormat() != Qt::PlainText)
                    notPlain << window->objectName() + u'.' + label->objectName() + u' ' + label->text();
            }
        QVERIFY2(notPlain.isEmpty(), qPrintable(notPlain.join(u'\n')));
        QVERIFY(labels > 100);
        // Grid cells are drawn by Qt's own delegate, which draws plain text.
        QStringList ownDelegates;
        for (QWidget *window : QApplication::topLevelWidgets())
            for (const QTableView *view : window->findChildren<QTableView *>())
                if (!view->itemDelegate() ||
                    qstrcmp(view->itemDelegate()->metaObject()->className(), "QStyledItemDelegate") != 0)
                    ownDelegates << window->objectName() + u'.' + view->objectName();
        QVERIFY2(ownDelegates.isEmpty(), qPrintable(ownDelegates.join(u'\n')));
    }

    void failedFetchKeepsTheGrid()
    {
        server_->body = spotPage(sixSpots);
        loadSpots();
        server_->silent = true;
        FDX_Cluster->WebBrowser1->setTimeout(200);
        loadSpots();
        QCOMPARE(dialogs_->warnings(), QStringList{"No access to Internet! "});
        QCOMPARE(column(7, 3), (QStringList{"cfm", "", "wkd"}));
        // The window goes on working.
        server_->silent = false;
        server_->body = spotPage(spotLine("DL1ABC", "  ", "7025.0", "UR7XX", ""));
        loadSpots();
        QCOMPARE(column(1, 2), (QStringList{"UR7XX", ""}));
    }

    void handOver()
    {
        // Before any spot: "***" hands nothing over.
        Form3->MaskEditCall->setText("DL1AB");
        FDX_Cluster->Button5->click();
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("DL1AB"));

        server_->body = spotPage(sixSpots);
        loadSpots();
        clickRow(1);
        // The title row and the empty last row choose no spot.
        for (int row : {0, 251}) {
            clickRow(row);
            QCOMPARE(FDX_Cluster->LabCal->text(), QStringLiteral("UR5AAA"));
            QCOMPARE(FDX_Cluster->LabFreq->text(), QStringLiteral("14025.0"));
        }
        Form3->MaskEditName->setText("Fixed");
        Form3->MaskEditName->setEnabled(false);
        Form3->MaskEditQth->setText("Lviv");
        Form3->ComboBoxMode->setCurrentText("FM");
        QSignalSpy typed(Form3->MaskEditCall, &QLineEdit::textChanged);
        QTest::mouseDClick(FDX_Cluster->LabCal, Qt::LeftButton);
        QStringList calls;
        for (const QList<QVariant> &t : typed)
            calls << t.first().toString();
        QCOMPARE(calls, (QStringList{"U", "UR", "UR5", "UR5A", "UR5AA", "UR5AAA"}));
        QCOMPARE(Form3->ComboBoxBand->currentText(), QStringLiteral("14"));
        QCOMPARE(Form3->ComboBoxMode->currentText(), QStringLiteral("CW"));
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Fixed"));
        QCOMPARE(Form3->MaskEditQth->text(), QString());
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("Ukraine"));
        // The chain ran to its last step, the exchange file.
        QFile exchange(program_->path("TnlQSO.ini"));
        QVERIFY(exchange.open(QIODevice::ReadOnly));
        QVERIFY(exchange.readAll().contains("UR5AAA"));

        // A contact being edited keeps its fields.
        clickRow(3);
        Form3->ButtonEdit->setText("Esc");
        QTest::mouseDClick(FDX_Cluster->LabFr, Qt::LeftButton);
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("UR5AAA"));
        Form3->ButtonEdit->setText("Edit");
        FDX_Cluster->Button5->click();
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("UR7XX"));
        QCOMPARE(Form3->ComboBoxBand->currentText(), QStringLiteral("7"));
    }

    void callbook()
    {
        QByteArray page = "<html><body>";
        for (int i = 0; i < 40; ++i)
            page += "<p>line " + QByteArray::number(i) + "</p>";
        for (int i = 0; i < 104; ++i)
            page += "<i></i>";
        server_->body = page + "</body></html>";
        QSignalSpy loaded(QRZ->WebBrowser1, &Web::PageLoader::loaded);
        QRZ->Edit1->clear();
        QTest::keyClicks(QRZ->Edit1, "ur5aaa/p");
        QRZ->Button5->click();
        QVERIFY(loaded.wait(5000));
        QCOMPARE(server_->paths, QStringList{"/db/UR5AAA%2FP"});
        QCOMPARE(QRZ->ProgressBar1->value(), 100);
        const QStringList memo = QRZ->Memo1->toPlainText().split(u'\n');
        QCOMPARE(memo.first(), QStringLiteral("UR5AAA/P"));
        QVERIFY(memo.size() > 1);

        // Asked again before the page came, then the callsign changed: only
        // the last page is shown, under the callsign it was asked for.
        QRZ->Edit1->setText("G4XYZ");
        QRZ->Button5->click();
        QRZ->Edit1->setText("DL1AB");
        QRZ->Button5->click();
        QRZ->Edit1->clear();
        QVERIFY(loaded.wait(5000));
        QTest::qWait(100);
        QCOMPARE(loaded.size(), 2);
        QCOMPARE(QRZ->Memo1->toPlainText().split(u'\n').first(), QStringLiteral("DL1AB"));

        // A short page or none at all: the callsign alone.
        server_->body = "<p>Not found</p>";
        QRZ->Edit1->setText("K1ABC");
        QRZ->Button5->click();
        QVERIFY(loaded.wait(5000));
        QCOMPARE(QRZ->Memo1->toPlainText(), QStringLiteral("K1ABC"));
        server_->silent = true;
        QRZ->WebBrowser1->setTimeout(200);
        QSignalSpy failed(QRZ->WebBrowser1, &Web::PageLoader::failed);
        QRZ->Button5->click();
        QVERIFY(failed.wait(5000));
        QCOMPARE(dialogs_->warnings(), QStringList{"No access to Internet! "});
        QCOMPARE(QRZ->Memo1->toPlainText(), QStringLiteral("K1ABC"));
    }
};

QTEST_MAIN(TestWebLookups)
#include "TestWebLookups.moc"
