#include "core/ProgramFixture.h"

#include "awards/FDipA.h"
#include "awards/FDipB.h"
#include "awards/FIota.h"
#include "awards/FWas.h"
#include "awards/ReferenceWindows.h"
#include "core/GlavnMod.h"
#include "platform/ui/Dialogs.h"

namespace {

ReferenceSettings all()
{
    return {true, true, true, true};
}

} // namespace

class TestReferenceWindows : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    void windowsHaveTheirFields()
    {
        QCOMPARE(FIota->windowTitle(), QStringLiteral("IOTA"));
        QCOMPARE(FDipB->windowTitle(), QStringLiteral("Diplom 2"));
        QVERIFY(FIota->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(FIota->Edit1->maxLength(), 3);
        QCOMPARE(FIota->Edit2->maxLength(), 4);
        QCOMPARE(FIota->Edit3->maxLength(), 10);
        QCOMPARE(FWas->Edit2->maxLength(), 13);
        QCOMPARE(FDipA->Edit1->maxLength(), 10);
        QCOMPARE(FDipA->Edit2->maxLength(), 8);
        FIota->Edit1->setText("eu");
        QCOMPARE(FIota->Edit1->text(), QStringLiteral("EU"));
        FIota->Edit3->setText("Rugen");
        QCOMPARE(FIota->Edit3->text(), QStringLiteral("Rugen"));
    }

    void savedTextComesFromTheWindowsWithIotaFirst()
    {
        FIota->Edit1->setText("EU");
        FIota->Edit2->setText("038");
        FIota->Edit3->setText("Rugen");
        FWas->Edit1->setText("TX");
        QCOMPARE(encodeReferenceWindows(), QStringLiteral("iEU-038oRugen"));
        // A window closed by hand is emptied, so it no longer counts.
        FIota->closeWindow();
        QCOMPARE(FIota->Edit1->text(), QString());
        QCOMPARE(FIota->Edit3->text(), QString());
        QCOMPARE(encodeReferenceWindows(), QStringLiteral("wTXo"));
    }

    void browsingShowsOnlyTheEnabledKind()
    {
        FWas->Edit1->setText("TX");
        showAwardReference("iEU-038oRugen", all());
        QVERIFY(FIota->isVisible());
        QCOMPARE(FIota->Edit1->text(), QStringLiteral("EU"));
        QCOMPARE(FIota->Edit2->text(), QStringLiteral("038"));
        QCOMPARE(FIota->Edit3->text(), QStringLiteral("Rugen"));
        QVERIFY(!FWas->isVisible());
        QCOMPARE(FWas->Edit1->text(), QString());

        ReferenceSettings noIota = all();
        noIota.iota = false;
        showAwardReference("iEU-038oRugen", noIota);
        QVERIFY(!FIota->isVisible());
        QCOMPARE(FIota->Edit1->text(), QString());
    }

    void emptyReferenceClosesEveryWindow()
    {
        showAwardReference("bB7oy", all());
        QVERIFY(FDipB->isVisible());
        QCOMPARE(FDipB->Edit2->text(), QStringLiteral("y"));
        showAwardReference("", all());
        for (Ui::Window *w : {static_cast<Ui::Window *>(FIota), static_cast<Ui::Window *>(FWas),
                              static_cast<Ui::Window *>(FDipA), static_cast<Ui::Window *>(FDipB)})
            QVERIFY(!w->isVisible());
        QCOMPARE(FDipB->Edit1->text(), QString());
    }

private:
    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
};

QTEST_MAIN(TestReferenceWindows)
#include "TestReferenceWindows.moc"
