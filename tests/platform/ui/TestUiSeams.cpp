#include "platform/table/TableError.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/Window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>

namespace {

class CountingWindow : public Ui::Window {
public:
    CountingWindow() : Ui::Window(QStringLiteral("FTest"), QStringLiteral("Test")) {}
    void FormActivate() override { ++activations; }
    void FormClose() override { ++closes; }
    void FormShow() override { ++shows; }
    int activations = 0;
    int closes = 0;
    int shows = 0;
};

} // namespace

class TestUiSeams : public QObject {
    Q_OBJECT
private slots:
    void radioGroupByItemIndex_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("expected");
        QTest::newRow("an item") << 0 << 2 << 2;
        QTest::newRow("again the same") << 1 << 1 << 1;
        QTest::newRow("none") << 1 << -1 << -1;
        QTest::newRow("past the last item") << 0 << 3 << -1;
    }
    void radioGroupByItemIndex()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, expected);
        Ui::RadioGroupBox group(QStringLiteral("RadioGroup1"), QStringLiteral("Close"),
                                {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QCOMPARE(group.itemIndex(), -1);
        group.setItemIndex(first);
        QCOMPARE(group.itemIndex(), first);
        group.setItemIndex(second);
        QCOMPARE(group.itemIndex(), expected);
        int checked = 0;
        for (const QRadioButton *b : group.findChildren<QRadioButton *>())
            checked += b->isChecked() ? 1 : 0;
        QCOMPARE(checked, expected < 0 ? 0 : 1);
    }

    void guardShowsErrorsAndGoesOn_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("table error") << 0 << "Table file not found: /x/Tarnel.db";
        QTest::newRow("std exception") << 1 << "disk full";
        QTest::newRow("anything else") << 2 << "Unknown error";
        QTest::newRow("out of memory") << 3 << "Not enough memory: the work was stopped";
    }
    void guardShowsErrorsAndGoesOn()
    {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        Ui::ScriptedDialogs dialogs;
        const bool ok = Ui::runGuarded([kind] {
            if (kind == 0)
                throw Db::TableError(QStringLiteral("Table file not found: /x/Tarnel.db"));
            if (kind == 1)
                throw std::runtime_error("disk full");
            if (kind == 3)
                throw std::bad_alloc();
            throw 42;
        });
        QVERIFY(!ok);
        QCOMPARE(dialogs.errors(), QStringList{expected});
        QVERIFY(Ui::runGuarded([] {}));
        QCOMPARE(dialogs.shown.size(), 1);
    }

    void guardedConnectionKeepsSignalDispatchAlive()
    {
        Ui::ScriptedDialogs dialogs;
        QLineEdit edit;
        int runs = 0;
        Ui::connectGuarded(&edit, &QLineEdit::textChanged, &edit, [&runs](const QString &text) {
            ++runs;
            if (text == QLatin1String("bad"))
                throw std::runtime_error("bad text");
        });
        edit.setText(QStringLiteral("bad"));
        edit.setText(QStringLiteral("good"));
        QCOMPARE(runs, 2);
        QCOMPARE(dialogs.errors(), QStringList{QStringLiteral("bad text")});
    }

    void scriptedAnswersInOrder()
    {
        Ui::ScriptedDialogs dialogs;
        dialogs.answers = {Ui::Answer::Yes, Ui::Answer::No};
        QCOMPARE(Ui::askYesNoCancel(QStringLiteral("Clear LOG ?")), Ui::Answer::Yes);
        QCOMPARE(Ui::askYesNo(QStringLiteral("Second ?")), Ui::Answer::No);
        // Unscripted: the safe answer, never Yes.
        QCOMPARE(Ui::askYesNoCancel(QStringLiteral("Third ?")), Ui::Answer::Cancel);
        QCOMPARE(Ui::askYesNo(QStringLiteral("Fourth ?")), Ui::Answer::No);
        QCOMPARE(dialogs.questions().size(), 4);
        dialogs.fileNames = {QStringLiteral("/tmp/contest")};
        Ui::FileDialogOptions save;
        save.defaultExtension = QStringLiteral("tst");
        QCOMPARE(Ui::saveFileName(save), QStringLiteral("/tmp/contest.tst"));
        QCOMPARE(Ui::openFileName({}), QString());
    }

    // Qt's own boxes show a text from a file or a table as it is, markup and
    // all (an ADIF record's call in the date-error box), and their caption
    // whole however short the text.
    void boxesShowTextAsItIs_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        const QString markup = QStringLiteral("Invalid Date in ADIF file ! <b>x</b>");
        QTest::newRow("warning") << 0 << markup;
        QTest::newRow("warning, short") << 0 << QStringLiteral("Not Callsign");
        QTest::newRow("information") << 1 << markup;
        QTest::newRow("question") << 2 << markup;
        QTest::newRow("error") << 3 << markup;
    }
    void boxesShowTextAsItIs()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        Qt::TextFormat format = Qt::AutoText;
        QString shown;
        int width = 0;
        int needed = -1;
        // Read and closed once the box runs.
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(w);
                if (!box || !box->isVisible())
                    continue;
                format = box->textFormat();
                width = box->width();
                needed = Ui::captionWidth(box);
                if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
                    shown = label->textFormat() == Qt::PlainText ? label->text() : QString();
                box->done(QMessageBox::Ok);
                watch.stop();
            }
        });
        watch.start();
        Ui::QtDialogs qt;
        switch (kind) {
        case 0: qt.warning(text); break;
        case 1: qt.information(text); break;
        case 2: qt.question(text, true); break;
        default: qt.error(text); break;
        }
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, text);
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 px, the caption needs %2").arg(width).arg(needed)));
    }

    // What is typed or pasted into an entry field is one line.
    void entryFieldsTakeOneLine_data()
    {
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line break") << true << "k1abc\r\nEND-OF-LOG:" << "K1ABC  END-OF-LOG:";
        QTest::newRow("tab") << false << "Lviv\tUkraine" << "Lviv Ukraine";
        QTest::newRow("lone CR") << false << "Ru\rzu" << "Ru zu";
        QTest::newRow("clean") << true << "ur5aaa" << "UR5AAA";
    }
    void entryFieldsTakeOneLine()
    {
        QFETCH(bool, upper);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        Ui::MaskEdit edit(QStringLiteral("MaskEditCall"));
        edit.setUpperCase(upper);
        edit.insert(pasted); // what a paste does
        QCOMPARE(edit.text(), expected);
        edit.setUpperCase(!upper);
        edit.selectAll();
        edit.insert(pasted);
        QCOMPARE(edit.text().size(), pasted.size());
        QVERIFY(!edit.text().contains(QRegularExpression("[\\r\\n\\t]")));
    }

    void scriptedDialogsRestorePrevious()
    {
        Ui::Dialogs *before = &Ui::dialogs();
        {
            Ui::ScriptedDialogs outer;
            {
                Ui::ScriptedDialogs inner;
                QCOMPARE(&Ui::dialogs(), static_cast<Ui::Dialogs *>(&inner));
            }
            QCOMPARE(&Ui::dialogs(), static_cast<Ui::Dialogs *>(&outer));
        }
        QCOMPARE(&Ui::dialogs(), before);
    }

    // A handler that toggles its own mark toggles it once, whether the operator
    // clicked (Qt's trigger) or code clicked.
    void menuHandlerSeesMarkBeforeClick_data()
    {
        QTest::addColumn<bool>("fromCode");
        QTest::newRow("operator") << false;
        QTest::newRow("code") << true;
    }
    void menuHandlerSeesMarkBeforeClick()
    {
        QFETCH(bool, fromCode);
        QObject owner;
        Ui::MenuItem item(QStringLiteral("OptionRep"), QStringLiteral("Repetition"), &owner);
        QList<bool> seen;
        item.setHandler([&] {
            seen << item.isChecked();
            item.setChecked(!item.isChecked());
        });
        for (int i = 0; i < 2; ++i) {
            if (fromCode)
                item.click();
            else
                item.trigger();
        }
        QCOMPARE(seen, (QList<bool>{false, true}));
        QVERIFY(!item.isChecked());
        QCOMPARE(item.QAction::isChecked(), item.isChecked());
    }

    void radioGroupKeepsOneChecked()
    {
        QObject owner;
        Ui::RadioGroup group;
        Ui::MenuItem a(QStringLiteral("LogLog1"), QStringLiteral("Log 1"), &owner);
        Ui::MenuItem b(QStringLiteral("LogLog2"), QStringLiteral("Log 2"), &owner);
        Ui::MenuItem c(QStringLiteral("LogLog3"), QStringLiteral("Log 3"), &owner);
        for (Ui::MenuItem *m : {&a, &b, &c})
            m->setGroup(&group);
        a.setChecked(true);
        b.setChecked(true);
        QVERIFY(!a.isChecked() && b.isChecked() && !c.isChecked());
        b.setChecked(false); // the only checked one stays checked
        QVERIFY(b.isChecked());
        c.trigger(); // no handler: the operator's click alone changes nothing
        QVERIFY(b.isChecked() && !c.isChecked());
    }

    void menuHandlerErrorIsShown()
    {
        Ui::ScriptedDialogs dialogs;
        QObject owner;
        Ui::MenuItem item(QStringLiteral("X"), QStringLiteral("X"), &owner);
        item.setHandler([] { throw std::runtime_error("failed"); });
        item.trigger();
        QCOMPARE(dialogs.errors(), QStringList{QStringLiteral("failed")});
    }

    void closeRunsHandlerThenHides()
    {
        CountingWindow w;
        w.showWindow();
        QVERIFY(w.isVisible());
        QCOMPARE(w.shows, 1);
        QCOMPARE(w.activations, 1);
        w.closeWindow();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.closes, 1);
        w.showWindow();
        w.makeInvisible();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.closes, 1);
        QCOMPARE(w.activations, 2);
        QCOMPARE(w.shows, 2);
    }

    void minimisingDoesNotEndAModalRun()
    {
        CountingWindow w;
        bool openAfterMinimising = false;
        QTimer::singleShot(0, &w, [&] {
            w.showMinimized();
            QTimer::singleShot(20, &w, [&] {
                openAfterMinimising = w.isVisible() && w.windowModality() == Qt::ApplicationModal;
                w.closeWindow();
            });
        });
        w.showModal();
        QVERIFY(openAfterMinimising);
        QVERIFY(!w.isVisible());
    }

    // The colour shows on screen only in the role the control paints its
    // text with; it is read back from there.
    void fontColourIsTheRoleTheControlPaints_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("bgr");
        QTest::addColumn<int>("role");
        QTest::addColumn<QColor>("shown");
        const std::tuple<const char *, int> kinds[] = {{"button", QPalette::ButtonText},
                                                      {"label", QPalette::WindowText},
                                                      {"check box", QPalette::WindowText},
                                                      {"edit", QPalette::Text}};
        const std::tuple<const char *, int, QColor> colours[] = {{"red", 0x0000FF, QColor(255, 0, 0)},
                                                                {"maroon", 0x000080, QColor(128, 0, 0)},
                                                                {"grey", 8421504, QColor(128, 128, 128)},
                                                                {"green", 65280, QColor(0, 255, 0)}};
        for (const auto &[kind, role] : kinds)
            for (const auto &[name, bgr, shown] : colours)
                QTest::addRow("%s %s", kind, name) << QString::fromLatin1(kind) << bgr << role << shown;
    }
    void fontColourIsTheRoleTheControlPaints()
    {
        QFETCH(QString, kind);
        QFETCH(int, bgr);
        QFETCH(int, role);
        QFETCH(QColor, shown);
        QWidget parent;
        std::unique_ptr<QWidget> control;
        if (kind == QLatin1String("button"))
            control = std::make_unique<QPushButton>(QStringLiteral("TX"));
        else if (kind == QLatin1String("label"))
            control = std::make_unique<QLabel>(QStringLiteral("Rec"));
        else if (kind == QLatin1String("check box"))
            control = std::make_unique<QCheckBox>(QStringLiteral("Real"));
        else
            control = std::make_unique<QLineEdit>(QStringLiteral("599"));
        // A parent that paints the colour already: the control still takes
        // it as its own (and again, unchanged), so it keeps it when the
        // parent's changes.
        QPalette inherited = parent.palette();
        inherited.setColor(QPalette::ColorRole(role), shown);
        parent.setPalette(inherited);
        control->setParent(&parent);
        Ui::setFontColor(control.get(), bgr);
        Ui::setFontColor(control.get(), bgr);
        inherited.setColor(QPalette::ColorRole(role), QColor(1, 2, 3));
        parent.setPalette(inherited);
        QCOMPARE(control->palette().color(QPalette::Active, QPalette::ColorRole(role)), shown);
        QCOMPARE(control->palette().color(QPalette::Inactive, QPalette::ColorRole(role)), shown);
        QCOMPARE(Ui::fontColor(control.get()), bgr);
    }

    // A window shown while the operator's own command runs takes the
    // keyboard; one shown by anything else the program does leaves it.
    void causeOfAShow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("byOperator");
        QTest::newRow("menu item chosen") << "menu" << true;
        QTest::newRow("button clicked") << "button" << true;
        QTest::newRow("button clicked by a handler") << "nested button" << false;
        QTest::newRow("menu item clicked by a handler") << "nested menu" << false;
        QTest::newRow("a state change") << "change" << false;
        QTest::newRow("button in a modal window") << "modal" << true;
    }
    void causeOfAShow()
    {
        QFETCH(QString, how);
        std::optional<Ui::Cause> seen;
        const auto record = [&seen] { seen = Ui::currentCause(); };
        QPushButton button;
        Ui::connectGuarded(&button, &QPushButton::clicked, &button, record);
        QCheckBox change;
        Ui::connectGuarded(&change, &QCheckBox::toggled, &change, record);
        Ui::MenuItem item(QStringLiteral("Item"), QStringLiteral("Item"), &button);
        item.setHandler(record);
        Ui::MenuItem outer(QStringLiteral("Outer"), QStringLiteral("Outer"), &button);
        CountingWindow modal;
        outer.setHandler([&] {
            if (how == QLatin1String("nested button"))
                button.click();
            else if (how == QLatin1String("nested menu"))
                item.click();
            else if (how == QLatin1String("change"))
                change.setChecked(true);
            else {
                QTimer::singleShot(0, &modal, [&] {
                    button.click();
                    modal.closeWindow();
                });
                modal.showModal();
            }
        });
        if (how == QLatin1String("menu"))
            item.trigger();
        else if (how == QLatin1String("button"))
            button.click();
        else
            outer.trigger();
        QVERIFY(seen.has_value());
        QTEST(*seen == Ui::Cause::Operator, "byOperator");
    }

    void showModalReturnsWhenClosed()
    {
        CountingWindow w;
        QTimer::singleShot(0, &w, [&w] { w.closeWindow(); });
        w.showModal();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.closes, 1);
        QCOMPARE(w.windowModality(), Qt::NonModal);
    }
};

QTEST_MAIN(TestUiSeams)
#include "TestUiSeams.moc"
