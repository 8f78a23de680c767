#include "ProgramFixture.h"
#include "SamplePrefixes.h"

#include "core/EntryKeys.h"
#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MenuItem.h"

namespace {

using EntryKeys::Field;
using EntryKeys::Key;

void send(QWidget *field, QEvent::Type type, int key, const QString &text = {})
{
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &event);
}

void press(QWidget *field, int key)
{
    send(field, QEvent::KeyPress, key);
    send(field, QEvent::KeyRelease, key);
}

} // namespace

Q_DECLARE_METATYPE(EntryKeys::Field)
Q_DECLARE_METATYPE(EntryKeys::Key)
Q_DECLARE_METATYPE(std::optional<EntryKeys::Field>)

class TestEntryKeys : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

private slots:
    // The ring: "locked" leaves the name and the sent report locked.
    void ring_data()
    {
        QTest::addColumn<Field>("from");
        QTest::addColumn<Key>("key");
        QTest::addColumn<bool>("contest");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<std::optional<Field>>("to");
        const std::optional<Field> none;
        QTest::newRow("call down") << Field::Call << Key::Down << false << false << std::optional(Field::RstTx);
        QTest::newRow("call down, sent locked") << Field::Call << Key::Down << false << true << none;
        QTest::newRow("call up") << Field::Call << Key::Up << false << false << std::optional(Field::Qth);
        QTest::newRow("sent up") << Field::RstTx << Key::Up << false << true << std::optional(Field::Call);
        QTest::newRow("received down") << Field::RstRx << Key::Down << false << false << std::optional(Field::Name);
        QTest::newRow("received down, name locked") << Field::RstRx << Key::Down << false << true << none;
        QTest::newRow("received down, contest") << Field::RstRx << Key::Down << true << false
                                                << std::optional(Field::ContestNumber);
        QTest::newRow("received up, contest, sent locked") << Field::RstRx << Key::Up << true << true
                                                           << std::optional(Field::Call);
        QTest::newRow("received up, sent locked") << Field::RstRx << Key::Up << false << true << none;
        QTest::newRow("name up") << Field::Name << Key::Up << false << false << std::optional(Field::RstRx);
        QTest::newRow("QTH down") << Field::Qth << Key::Down << false << true << std::optional(Field::Call);
        QTest::newRow("QTH up, name locked") << Field::Qth << Key::Up << false << true << none;
    }
    void ring()
    {
        QFETCH(Field, from);
        QFETCH(Key, key);
        QFETCH(bool, contest);
        QFETCH(bool, locked);
        const EntryKeys::Action a = EntryKeys::action(from, key, contest, {!locked, true, !locked, true});
        QVERIFY(!a.save);
        QTEST(a.focus, "to");
        QVERIFY(EntryKeys::action(from, Key::Enter, contest, {}).save);
    }

    void stopwatch_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("second") << QList<int>{0, 0, 8} << QList<int>{0, 0, 9};
        QTest::newRow("minute") << QList<int>{0, 5, 59} << QList<int>{0, 6, 0};
        QTest::newRow("hour") << QList<int>{0, 59, 59} << QList<int>{1, 0, 0};
        QTest::newRow("past 99 hours") << QList<int>{99, 59, 59} << QList<int>{100, 0, 0};
    }
    void stopwatch()
    {
        QFETCH(QList<int>, before);
        const Stopwatch::Time t = Stopwatch::tick({before[0], before[1], before[2]});
        QTEST((QList<int>{t.hours, t.minutes, t.seconds}), "after");
    }

    // ---- through the main window
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // Enter saves as it goes down in the callsign field; the Enter that closes
    // "Not RST Rx" comes up in another field and saves nothing.
    void enterSavesOnce()
    {
        Form3->MaskEditCall->setText("UR5ABC");
        Form3->MaskEditRstRx->clear();
        send(Form3->MaskEditCall, QEvent::KeyPress, Qt::Key_Return);
        QCOMPARE(dialogs_->warnings(), QStringList{"Not RST Rx"});
        send(Form3->MaskEditRstRx, QEvent::KeyRelease, Qt::Key_Return);
        send(Form3->MaskEditCall, QEvent::KeyRelease, Qt::Key_Return);
        QCOMPARE(dialogs_->warnings().size(), 1);
        QCOMPARE(DM->Table1.recordCount(), 0);
        Form3->MaskEditRstRx->setText("59");
        press(Form3->MaskEditRstRx, Qt::Key_Enter);
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(dialogs_->warnings().size(), 1);
    }

    // A lower-case name in any alphabet comes out with a capital; a double
    // click unlocks a fixed field.
    void capitalsAndUnlocking()
    {
        for (const QChar c : QString::fromUtf8("иван")) {
            send(Form3->MaskEditName, QEvent::KeyPress, Qt::Key_unknown, QString(c));
            send(Form3->MaskEditName, QEvent::KeyRelease, Qt::Key_unknown, QString(c));
        }
        QCOMPARE(Form3->MaskEditName->text(), QString::fromUtf8("Иван"));
        Form3->MaskEditQth->setEnabled(false);
        Form3->Label6->setCursor(Qt::PointingHandCursor);
        QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(Form3->Label6, &click);
        QVERIFY(Form3->MaskEditQth->isEnabled());
        QCOMPARE(Form3->Label6->cursor().shape(), Qt::ArrowCursor);
    }

    // Every shortcut of the menus works from every entry field, Ctrl+C
    // (sort by callsign) as well, which an edit field would take as Copy.
    void menuShortcutsFromEveryEntryField_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QKeySequence>("key");
        const std::pair<const char *, const char *> shortcuts[] = {
            {"ViewSortCall", "Ctrl+C"},  {"ViewSortDate", "Ctrl+D"}, {"ViewSortBand", "Ctrl+B"},
            {"ViewSortMode", "Ctrl+M"},  {"ViewSortQth", "Ctrl+Q"},  {"ViewSortName", "Ctrl+N"},
            {"ViewDeleteQso", "Ctrl+Del"}, {"ViewFilter", "Ctrl+F"}, {"Help2", "F1"}};
        for (const auto &[item, key] : shortcuts)
            QTest::newRow(key) << QString::fromLatin1(item) << QKeySequence(QString::fromLatin1(key));
    }
    void menuShortcutsFromEveryEntryField()
    {
        QFETCH(QString, item);
        QFETCH(QKeySequence, key);
        auto *action = Form3->findChild<Ui::MenuItem *>(item);
        QVERIFY(action);
        int runs = 0;
        action->setHandler([&runs] { ++runs; });
        QVERIFY(QTest::qWaitForWindowActive(Form3));
        Form3->MaskEditCall->setText("UR5ABC");
        QWidget *const fields[] = {Form3->MaskEditCall, Form3->MaskEditRstTx, Form3->MaskEditRstRx,
                                   Form3->MaskEditName, Form3->MaskEditQth,   Form3->MaskEditDate,
                                   Form3->MaskEditTime, Form3->MaskEditQslTx, Form3->MaskEditQslRx,
                                   Form3->MemoNot};
        int expected = 0;
        for (QWidget *field : fields) {
            if (!field->isVisible() || !field->isEnabled())
                continue;
            field->setFocus();
            QCOMPARE(QApplication::focusWidget(), field);
            QTest::keySequence(field, key);
            QVERIFY2(runs == ++expected, qPrintable(field->objectName()));
        }
        QVERIFY(expected >= 9);
    }

    void stopwatchMenu()
    {
        Form3->LabelH->setText("00");
        Form3->LabelM->setText("59");
        Form3->LabelS->setText("59");
        Form3->TimStart->click();
        QVERIFY(Form3->Timer3->isActive());
        QVERIFY(Form3->TimStart->isChecked());
        QVERIFY(QMetaObject::invokeMethod(Form3->Timer3, "timeout"));
        QCOMPARE(Form3->LabelH->text() + Form3->LabelM->text() + Form3->LabelS->text(), QStringLiteral("010000"));
        Form3->TimStop->click();
        QVERIFY(!Form3->Timer3->isActive());
        QCOMPARE(Form3->LabelH->text(), QStringLiteral("01"));
        Form3->TimStopClear->click();
        QCOMPARE(Form3->LabelH->text() + Form3->LabelM->text() + Form3->LabelS->text(), QStringLiteral("000000"));
        Form3->TimTotal->click();
        QVERIFY(Form3->TimTotal->isChecked());
        QVERIFY(!Form3->TimQSO->isChecked());
    }
};

QTEST_MAIN(TestEntryKeys)
#include "TestEntryKeys.moc"
