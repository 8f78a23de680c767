#include "../core/ProgramFixture.h"
#include "../core/SamplePrefixes.h"

#include "awards/PrefixEdits.h"
#include "awards/UAdPref.h"
#include "awards/UDxcc.h"
#include "awards/UEditPr.h"
#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <stdexcept>

namespace {

int rows(const char *table, Db::Database &db)
{
    Db::Table t(&db, QString::fromLatin1(table));
    t.open();
    return t.recordCount();
}

} // namespace

class TestPrefixEditors : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    // Allpref, Prefix, Dxcc row counts.
    QString counts()
    {
        return QStringLiteral("%1 %2 %3")
            .arg(rows("Allpref", DM->Database2))
            .arg(rows("Prefix", DM->Database2))
            .arg(rows("Dxcc", DM->Database4));
    }

private slots:
    // ---- checking an entry, no window
    void check_data()
    {
        QTest::addColumn<QStringList>("fields"); // time, ITU, CQ, latitude, longitude, country
        QTest::addColumn<QString>("result");     // time/lat/lon, "missing" or "error"
        QTest::newRow("comma") << QStringList{"+02", "29", "16", "50 ,5", "-30,5", "Ukraine"} << "2 50.5 -30.5";
        QTest::newRow("point") << QStringList{"-5 ", "29", "16", "50.5", "-3.5", "Ukraine"} << "-5 50.5 -3.5";
        QTest::newRow("blank Time") << QStringList{"   ", "29", "16", "50,5", "30,5", "Ukraine"} << "missing";
        QTest::newRow("blank CQ Zone") << QStringList{"02", "29", "  ", "50,5", "30,5", "Ukraine"} << "missing";
        QTest::newRow("emptied latitude") << QStringList{"02", "29", "16", "   , ", "30,5", "Ukraine"} << "missing";
        QTest::newRow("no country") << QStringList{"02", "29", "16", "50,5", "30,5", ""} << "missing";
        QTest::newRow("bad number") << QStringList{"02", "29", "16", "5x,5", "30,5", "Ukraine"} << "error";
    }
    void check()
    {
        QFETCH(QStringList, fields);
        const PrefixEdits::Entry e{"UR", "UR", "UT", fields[5], "EU", fields[1], fields[2], fields[0], fields[3],
                                   fields[4]};
        QString got;
        try {
            const auto c = PrefixEdits::check(e);
            got = c ? QStringLiteral("%1 %2 %3").arg(c->timeDiff).arg(c->latitude).arg(c->longitude)
                    : QStringLiteral("missing");
        } catch (const std::invalid_argument &) {
            got = QStringLiteral("error");
        }
        QTEST(got, "result");
    }

    // ---- the dialogs
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        program_->addRows("Awrds", "Dxcc", {{{"Prefix", "VE"}}});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        AwDx->showWindow();
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // The example entry reads through the masks as it was written, and its
    // numbers are those it shows.
    void addPrefixExample()
    {
        QStringList shown;
        for (const QLineEdit *e : {AddPref->MaskEdit6, AddPref->MaskEdit7, AddPref->MaskEdit8, AddPref->MaskEdit9,
                                   AddPref->MaskEdit10})
            shown << e->displayText();
        QCOMPARE(shown, (QStringList{"29", "16", "+02", "+50,5", "-30,5"}));
        const auto c = PrefixEdits::check({AddPref->MaskEdit1->text(), AddPref->MaskEdit2->text(),
                                           AddPref->MaskEdit3->text(), AddPref->MaskEdit4->text(),
                                           AddPref->MaskEdit5->text(), shown[0], shown[1], shown[2], shown[3],
                                           shown[4]});
        QVERIFY(c);
        QCOMPARE(c->latitude, 50.5);
        QCOMPARE(c->longitude, -30.5);
    }

    void addPrefix_data()
    {
        QTest::addColumn<QStringList>("entry"); // DXCC prefix, prefix, added prefix, time, latitude
        QTest::addColumn<QString>("counts");    // Allpref, Prefix, Dxcc afterwards (before: 9 8 2)
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("box");
        QTest::newRow("all new") << QStringList{"ZS", "ZS", "ZR", "+02", "33 ,9"} << "10 9 3" << "" << "";
        QTest::newRow("new added prefix only") << QStringList{"UR", "UR", "UT", "+02", "50,5"} << "10 8 2"
                                               << "The UR exists" << "";
        QTest::newRow("all exist") << QStringList{"UR", "UR", "UR", "+02", "50,5"} << "9 8 2" << "The UR, UR, UR exists"
                                   << "";
        QTest::newRow("sixth character cut") << QStringList{"UR", "UR", "UT1234", "+02", "50,5"} << "10 8 2"
                                             << "The UR exists" << "";
        QTest::newRow("bad number writes nothing") << QStringList{"ZS", "ZS", "ZR", "+", "33,9"} << "9 8 2" << ""
                                                   << "error";
        QTest::newRow("blank Time writes nothing") << QStringList{"ZS", "ZS", "ZR", "   ", "33,9"} << "9 8 2" << ""
                                                   << "There are no parameters !";
    }
    void addPrefix()
    {
        QFETCH(QStringList, entry);
        // As the awards window's "Add Prefix" opens it, without the modal run.
        DM->Table3.open();
        AddPref->showWindow();
        AddPref->MaskEdit1->setText(entry[0]);
        AddPref->MaskEdit2->setText(entry[1]);
        AddPref->MaskEdit3->setText(entry[2]);
        AddPref->MaskEdit8->setText(entry[3]);
        AddPref->MaskEdit9->setText(entry[4]);
        AddPref->Button1->click();
        QTEST(counts(), "counts");
        QTEST(AddPref->Label11->text(), "line");
        QFETCH(QString, box);
        if (box == "error")
            QCOMPARE(dialogs_->errors().size(), 1);
        else
            QCOMPARE(dialogs_->warnings(), box.isEmpty() ? QStringList{} : QStringList{box});
        QVERIFY(DM->Table2.isActive() && DM->Table3.isActive());
        AddPref->Button2->click();
        QVERIFY(!DM->Table3.isActive());
    }

    void deleteDepths_data()
    {
        QTest::addColumn<QPushButton *TFormEditPref::*>("button");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("counts"); // before: 9 8 2
        QTest::newRow("All Prefix") << &TFormEditPref::Button2 << "Delete Prefix ?" << "8 8 2";
        QTest::newRow("Prefix") << &TFormEditPref::Button1 << "Delete DXCC Pref and Counry ?" << "8 7 2";
        QTest::newRow("DXCC Prefix") << &TFormEditPref::Button5 << "Delete DXCC Pref, Counry and Award Pref ?"
                                     << "8 7 1";
    }
    void deleteDepths()
    {
        QFETCH(QPushButton *TFormEditPref::*, button);
        DM->Table3.open();
        FormEditPref->showWindow();
        FormEditPref->MaskEdit1->setText("VE");
        QCOMPARE(FormEditPref->DBEdit3->text(), QStringLiteral("Canada"));
        dialogs_->answers = {Ui::Answer::No, Ui::Answer::Yes};
        (FormEditPref->*button)->click();
        QCOMPARE(counts(), QStringLiteral("9 8 2"));
        (FormEditPref->*button)->click();
        QTEST(counts(), "counts");
        QFETCH(QString, question);
        QCOMPARE(dialogs_->questions(), (QStringList{question, question}));
        FormEditPref->closeWindow();
        QVERIFY(!DM->Table3.isActive());
    }

    // Save keeps the row; a find text that is no added prefix leaves it.
    void editAndFind()
    {
        DM->Table3.open();
        FormEditPref->showWindow();
        FormEditPref->NavLast->click();
        const QString last = FormEditPref->DBEdit10->text();
        FormEditPref->DBEdit3->setText("Somewhere");
        FormEditPref->Button3->click();
        QCOMPARE(FormEditPref->DBEdit10->text(), last);
        QCOMPARE(DM->Table3.fieldByName("Country").asString(), QStringLiteral("Somewhere"));
        FormEditPref->MaskEdit1->setText("QQ");
        QCOMPARE(FormEditPref->DBEdit10->text(), last);
        FormEditPref->closeWindow();
    }

    void deleteOnEmptyAllprefDoesNothing()
    {
        Db::Table all(&DM->Database2, "Allpref");
        all.open();
        while (!all.isEmpty())
            all.deleteRecord();
        DM->Table2.refresh();
        for (auto depth : {PrefixEdits::Depth::AddPrefix, PrefixEdits::Depth::Prefix, PrefixEdits::Depth::Dxcc})
            PrefixEdits::remove(depth, DM->Table2, DM->Table3, DM->Table4);
        QCOMPARE(counts(), QStringLiteral("0 8 2"));
    }
};

QTEST_MAIN(TestPrefixEditors)
#include "TestPrefixEditors.moc"
