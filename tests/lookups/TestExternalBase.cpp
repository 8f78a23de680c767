#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/TableSchemas.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "lookups/UVCD.h"
#include "platform/table/Schema.h"
#include "platform/ui/Dialogs.h"

#include <QPlainTextEdit>
#include <QPushButton>

class TestExternalBase : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    Db::Table &base() { return DM->Table8; }
    QString stored(const char *field) { return base().fieldByName(QString::fromLatin1(field)).asString(); }
    void type(QLineEdit *edit, const QString &text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    // Add, a callsign and a name, Save.
    void add(const QString &call, const QString &name)
    {
        VCD->Button3->click();
        type(VCD->DBEdit2, name);
        QTest::keyClicks(VCD->MaskEdit1, call);
        VCD->Button4->click();
    }
    bool idle() const
    {
        return !VCD->isAdding() && VCD->MaskEdit1->isHidden() && VCD->MaskEdit1->text().isEmpty() &&
               VCD->DBNavigator1->isEnabled() && VCD->Button3->isEnabled() && VCD->DBEdit1->isReadOnly();
    }

    // Starts the program again with the external base ticked (or not) on `dir`.
    void restart(const QString &dir, bool ticked)
    {
        destroyWindowSet();
        QFile ini(program_->path("Tarnel.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(("[Bases]\r\nEditVCD=" + dir + "\r\nCheckVCD=" + (ticked ? "True" : "False") + "\r\n").toUtf8());
        ini.close();
        dialogs_->shown.clear();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QVERIFY(QDir().mkpath(program_->path("VCD")));
        Db::createTableFile(program_->path("VCD/cs.db"), TableSchemas::cs());
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        Config->CheckBoxVCD->setChecked(true);
        DM->Database8.close();
        DM->Database8.setDirectory(program_->path("VCD"));
        DM->Database8.open();
        base().open();
        base().setIndexName("ByCallSign");
        VCD->showWindow();
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // An operator's base starts from the installed empty template.
    void baseFromTheInstalledTemplate()
    {
        const QString dir = program_->path("MyBase");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(QFile::copy(program_->path("Pack/cs.db"), dir + "/cs.db"));
        restart(dir, true);
        QVERIFY(dialogs_->shown.isEmpty());
        QVERIFY(base().isActive());
        VCD->showWindow();
        add("UT7XYZ", "Taras");
        QVERIFY(dialogs_->shown.isEmpty());
        destroyWindowSet();
        const QList<QVariantList> rows = tableRows(dir + "/cs.db");
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].contains(QStringLiteral("UT7XYZ")) && rows[0].contains(QStringLiteral("Taras")));
        createWindowSet();
    }

    // Ticked during a run, the base opens only at the next start: until then
    // the window stores nothing and says so.
    void notConnectedUntilTheNextStart()
    {
        restart(program_->path("VCD"), false);
        Config->CheckBoxVCD->setChecked(true);
        QVERIFY(dialogs_->shown.isEmpty());
        QVERIFY(!base().isActive());
        VCD->showWindow();
        VCD->Button3->click();
        QCOMPARE(dialogs_->warnings(), QStringList{"VCD is not connected !"});
        QVERIFY(idle());
        VCD->Button4->setEnabled(true);
        VCD->Button4->click();
        QCOMPARE(dialogs_->warnings(), (QStringList{"VCD is not connected !", "VCD is not connected !"}));
        QVERIFY(idle());
        QVERIFY(tableRows(program_->path("VCD/cs.db")).isEmpty());
    }

    void addingEntries()
    {
        VCD->Button3->click();
        QVERIFY(VCD->MaskEdit1->isVisibleTo(VCD) && !VCD->DBNavigator1->isEnabled() && VCD->Button4->isEnabled());
        QVERIFY(!VCD->Button3->isEnabled() && !VCD->DBEdit1->isReadOnly());
        // Fields typed first, then the callsign: one row, never one without a key.
        type(VCD->DBEdit2, "Taras Shevchenko");
        type(VCD->DBEdit5, "Lviv, Main st");
        QTest::keyClicks(VCD->MaskEdit1, "ut7xyzq");
        QCOMPARE(VCD->MaskEdit1->text(), QStringLiteral("UT7XYZ"));
        VCD->Button4->click();
        QCOMPARE(base().recordCount(), 1);
        QCOMPARE(stored("CallSign"), QStringLiteral("UT7XYZ"));
        QCOMPARE(stored("Name"), QStringLiteral("Taras Shevchenko"));
        QCOMPARE(stored("Address"), QStringLiteral("Lviv, Main st"));
        QVERIFY(idle());

        // A callsign already in the base shows its entry and cannot be saved.
        VCD->Button3->click();
        QTest::keyClicks(VCD->MaskEdit1, "UT7XYZ");
        QVERIFY(!VCD->Button4->isEnabled());
        QCOMPARE(VCD->DBEdit2->text(), QStringLiteral("Taras Shevchenko"));
        VCD->Button5->click();
        QVERIFY(idle());
        QVERIFY(!VCD->Button4->isEnabled());

        // Three characters are looked up but not saved; the entry stays.
        VCD->Button3->click();
        type(VCD->DBEdit2, "Bob");
        QTest::keyClicks(VCD->MaskEdit1, "K1A");
        VCD->Button4->click();
        QCOMPARE(dialogs_->warnings(), QStringList{"Not Callsign"});
        QVERIFY(VCD->isAdding() && VCD->MaskEdit1->isVisibleTo(VCD));
        QCOMPARE(VCD->DBEdit2->text(), QStringLiteral("Bob"));
        QTest::keyClicks(VCD->MaskEdit1, "BC");
        VCD->Button4->click();
        QCOMPARE(base().recordCount(), 2);
        QVERIFY(base().locate("CallSign", "K1ABC"));
        QCOMPARE(stored("Name"), QStringLiteral("Bob"));
    }

    void editingAnEntry()
    {
        add("UT7XYZ", "Taras");
        type(VCD->DBEdit2, "Ivan");
        QVERIFY(VCD->Button4->isEnabled());
        type(VCD->DBEdit4, "79a01");
        QCOMPARE(VCD->DBEdit4->text(), QStringLiteral("7901"));
        VCD->Button4->click();
        QCOMPARE(stored("Name"), QStringLiteral("Ivan"));
        QCOMPARE(stored("PostIndex"), QStringLiteral("7901"));

        // A date that does not exist is reported and stays to be put right.
        type(VCD->DBEdit6, "31.02.2026");
        VCD->Button4->click();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(VCD->DBEdit6->text(), QStringLiteral("31.02.2026"));
        QVERIFY(VCD->Button4->isEnabled());
        QCOMPARE(stored("AddrStamp"), QString());
        type(VCD->DBEdit6, "01.02.2026");
        VCD->Button4->click();
        QCOMPARE(stored("AddrStamp"), QStringLiteral("01.02.2026"));

        // Closing drops what was typed.
        type(VCD->DBEdit2, "Zzz");
        VCD->Button1->click();
        QVERIFY(!VCD->isVisible());
        QCOMPARE(VCD->DBEdit2->text(), QStringLiteral("Ivan"));
        QCOMPARE(stored("Name"), QStringLiteral("Ivan"));
    }

    // A move refused for a bad date leaves nothing pending in the base, however
    // the editing ends.
    void refusedMoveWritesNothing_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Close") << true;
    }
    void refusedMoveWritesNothing()
    {
        QFETCH(bool, close);
        add("UR5AAA", "Taras");
        add("UT7XYZ", "Ivan");
        VCD->NavFirst->click();
        type(VCD->DBEdit2, "Half");
        type(VCD->DBEdit6, "31.02.2026");
        VCD->NavNext->click();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(VCD->DBEdit1->text(), QStringLiteral("UR5AAA"));
        (close ? VCD->Button1 : VCD->Button5)->click();
        base().last();
        QVERIFY(base().locate("CallSign", "UR5AAA"));
        QCOMPARE(stored("Name"), QStringLiteral("Taras"));
    }

    // The main window's look-up narrows the base to six characters of the
    // callsign; the first navigator click drops that range.
    void lookUpNavigateAndDelete()
    {
        VCD->Button2->click(); // an empty base: nothing asked
        QVERIFY(dialogs_->questions().isEmpty());
        add("UR5AAA", "Taras");
        add("UT7XYZ", "Ivan Petrenko");
        VCD->closeWindow();
        Form3->MaskEditCall->setText("UT7XYZA");
        Form3->ButtonExt->click();
        QVERIFY(VCD->isVisible());
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("--Petrenko"));
        QCOMPARE(base().recordCount(), 1);
        VCD->NavNext->click();
        QCOMPARE(VCD->DBEdit1->text(), QStringLiteral("UT7XYZ"));
        QCOMPARE(base().recordCount(), 2);
        VCD->NavPrior->click();
        QCOMPARE(VCD->DBEdit1->text(), QStringLiteral("UR5AAA"));

        // Typed for one entry, then a look-up shows another: nothing is
        // written into either.
        type(VCD->DBEdit2, "Wrong");
        Form3->MaskEditCall->setText("UT7XYZ");
        Form3->ButtonExt->click();
        QCOMPARE(VCD->DBEdit2->text(), QStringLiteral("Ivan Petrenko"));
        VCD->Button4->click();
        QCOMPARE(stored("Name"), QStringLiteral("Ivan Petrenko"));
        VCD->NavFirst->click(); // within the look-up's range
        VCD->NavFirst->click();
        QCOMPARE(stored("Name"), QStringLiteral("Taras"));

        dialogs_->answers = {Ui::Answer::Yes};
        VCD->Button2->click();
        QCOMPARE(dialogs_->questions(), QStringList{"Delete UR5AAA ?"});
        QCOMPARE(base().recordCount(), 1);
        QCOMPARE(VCD->DBEdit1->text(), QStringLiteral("UT7XYZ"));
        VCD->Button2->click(); // unanswered: Cancel keeps it
        QCOMPARE(base().recordCount(), 1);
    }
};

QTEST_MAIN(TestExternalBase)
#include "TestExternalBase.moc"
