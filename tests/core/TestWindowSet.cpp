// Every window of the set as the program shows it on a small laptop screen
// (1280x800): inside the screen with its frame, every control shown whole,
// every grid showing all its columns; and the award grids' column titles.
#include "ProgramFixture.h"

#include "awards/UDxcc.h"
#include "core/FConfirm.h"
#include "core/GlavnMod.h"
#include "core/Povt.h"
#include "contest/UContst.h"
#include "core/Unit3.h"
#include "awards/FIota.h"
#include "awards/FWas.h"
#include "lookups/UCluster.h"
#include "lookups/UVCD.h"
#include "utilities/UImage.h"
#include "platform/table/DbGrid.h"
#include "platform/table/GridModel.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Window.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>

namespace {

const QRect desktop(0, 0, 1280, 800);
// A window manager's title bar and borders around each window.
const QMargins decoration(4, 30, 4, 4);
// A title bar shows the caption in bold beside an icon and three buttons.
constexpr int titleBarButtons = 150;

// Grids whose columns can outgrow any screen: they scroll.
bool scrollsSideways(const QWidget *grid)
{
    return grid->objectName() == QLatin1String("DBGridLog") || grid->window()->objectName() == QLatin1String("AwDx");
}

bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QLabel *>(w) ||
           qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w) ||
           qobject_cast<const QProgressBar *>(w) || qobject_cast<const QGroupBox *>(w);
}

// Inside a control of its own (a grid's viewport, a combo box's editor):
// that control is what is checked.
bool insideControl(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (isControl(p) && !qobject_cast<const QGroupBox *>(p))
            return true;
    return false;
}

QString describe(const QWidget *w)
{
    QString text;
    if (const auto *l = qobject_cast<const QLabel *>(w))
        text = l->text();
    else if (const auto *b = qobject_cast<const QAbstractButton *>(w))
        text = b->text();
    else if (const auto *g = qobject_cast<const QGroupBox *>(w))
        text = g->title();
    return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                                             text);
}

// What a window shows that an operator could not see at its opening size.
QStringList faults(QWidget *window)
{
    QStringList found;
    const QRect outer = window->geometry().marginsAdded(decoration);
    if (!desktop.contains(outer))
        found << QStringLiteral("window with its frame %1,%2 %3x%4 leaves the screen")
                     .arg(outer.x())
                     .arg(outer.y())
                     .arg(outer.width())
                     .arg(outer.height());
    QFont bold = window->font();
    bold.setBold(true);
    const int caption = QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + titleBarButtons;
    if (window->width() < caption)
        found << QStringLiteral("caption cut: %1 px wide, needs %2").arg(window->width()).arg(caption);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        // A control held at no height or width is hidden that way.
        if (!w->isVisible() || w->isWindow() || w->window() != window || !isControl(w) || insideControl(w) ||
            w->maximumWidth() == 0 || w->maximumHeight() == 0)
            continue;
        const QRect at(w->mapTo(window, QPoint(0, 0)), w->size());
        const QSize needs = w->minimumSizeHint();
        if (w->width() <= 0 || w->height() <= 0 || !window->rect().contains(at))
            found << QStringLiteral("%1 at %2,%3 %4x%5 is not inside the window")
                         .arg(describe(w))
                         .arg(at.x())
                         .arg(at.y())
                         .arg(at.width())
                         .arg(at.height());
        // A fixed width or height is as designed.
        else if ((w->width() < needs.width() && w->minimumWidth() != w->maximumWidth()) ||
                 (w->height() < needs.height() && w->minimumHeight() != w->maximumHeight()))
            found << QStringLiteral("%1 is %2x%3, cut below %4x%5")
                         .arg(describe(w))
                         .arg(w->width())
                         .arg(w->height())
                         .arg(needs.width())
                         .arg(needs.height());
        const auto *grid = qobject_cast<QTableView *>(w);
        if (grid && !scrollsSideways(grid)) {
            if (grid->horizontalHeader()->length() > grid->viewport()->width())
                found << QStringLiteral("%1 shows %2 of its %3 px of columns")
                             .arg(describe(w))
                             .arg(grid->viewport()->width())
                             .arg(grid->horizontalHeader()->length());
        }
    }
    return found;
}

QStringList titles(const Db::DbGrid *grid)
{
    QStringList list;
    for (int c = 0; c < grid->gridModel()->columnCount(); ++c)
        list << grid->gridModel()->headerData(c, Qt::Horizontal).toString();
    return list;
}

} // namespace

class TestWindowSet : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
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

    void everyWindowFitsTheScreen()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->geometry(), desktop);
        QHash<QString, Ui::Window *> windows;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<Ui::Window *>(w))
                windows.insert(window->objectName(), window);
        QStringList all;
        int shown = 0;
        for (const QString &name : windowSetOrder()) {
            Ui::Window *window = windows.value(name);
            if (!window)
                continue; // the data module
            ++shown;
            // As the program shows it: the main window at start-up, the
            // contest window in its widest view (repetitions, with the
            // callsign column), the others from their menus.
            if (window == Cont)
                Form3->OptionRep->trigger();
            else if (window != Form3)
                window->showWindow();
            QVERIFY2(QTest::qWaitForWindowExposed(window), qPrintable(name));
            QTest::qWait(0); // what the window does once it is up
            // Every page of a tabbed window, as the operator turns to it.
            QStringList found = faults(window);
            for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
                const int shownPage = tabs->currentIndex();
                for (int page = 0; page < tabs->count(); ++page) {
                    tabs->setCurrentIndex(page);
                    found += faults(window);
                }
                tabs->setCurrentIndex(shownPage);
            }
            found.removeDuplicates();
            for (const QString &fault : std::as_const(found))
                all << name + QStringLiteral(": ") + fault;
            if (window != Form3)
                window->makeInvisible();
        }
        QCOMPARE(shown, windowSetOrder().size() - 1);
        for (const QString &fault : std::as_const(all))
            qWarning().noquote() << fault;
        QVERIFY2(all.isEmpty(), qPrintable(QStringLiteral("%1 faults, listed above").arg(all.size())));
    }

    // The windows the program shows beside the entry open above the main
    // window's lower part, clear of its fields, buttons and Info panel.
    void sideWindowsClearOfTheEntry()
    {
        const QRect entry = QRect(Form3->PanelEntry->mapToGlobal(QPoint()), Form3->PanelEntry->size()) |
                            QRect(Form3->GroupBoxInfo->mapToGlobal(QPoint()), Form3->GroupBoxInfo->size());
        for (Ui::Window *window : std::initializer_list<Ui::Window *>{Povt, VCD, FConfirm, FImage, FIota, FWas})
            window->showWindow();
        Form3->OptionRep->trigger();
        QTest::qWait(0);
        for (Ui::Window *window : std::initializer_list<Ui::Window *>{Povt, VCD, FConfirm, FImage, FIota, FWas, Cont}) {
            const QRect outer = window->geometry().marginsAdded(decoration);
            QVERIFY2(!outer.intersects(entry) && desktop.contains(outer), qPrintable(window->objectName() + QStringLiteral(" %1,%2 %3x%4 entry %5,%6 %7x%8").arg(outer.x()).arg(outer.y()).arg(outer.width()).arg(outer.height()).arg(entry.x()).arg(entry.y()).arg(entry.width()).arg(entry.height())));
        }
    }

    // The Info window shows all its columns as the contest window and as
    // the repetitions view, whichever it was first.
    void infoWindowShowsAllColumns_data()
    {
        QTest::addColumn<bool>("contestFirst");
        QTest::newRow("contest first") << true;
        QTest::newRow("repetitions first") << false;
    }
    void infoWindowShowsAllColumns()
    {
        QFETCH(bool, contestFirst);
        const auto contest = [] { Form3->View1->trigger(); };
        const auto repetitions = [] {
            Form3->ContStop->trigger();
            Form3->OptionRep->trigger();
        };
        for (const auto &role : contestFirst ? QList<std::function<void()>>{contest, repetitions}
                                             : QList<std::function<void()>>{repetitions, contest}) {
            role();
            QTest::qWait(0);
            const QStringList found = faults(Cont);
            QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
        }
    }

    // The spot grid's title row stays in view as the spots scroll by, and
    // the operator may widen its columns.
    void spotTitlesStayInView()
    {
        FDX_Cluster->showWindow();
        QTableWidget *grid = FDX_Cluster->StringGrid1;
        grid->scrollToBottom();
        QVERIFY(grid->horizontalHeader()->isVisible());
        QVERIFY(grid->isRowHidden(0));
        QStringList shown, row0;
        for (int c = 0; c < grid->columnCount(); ++c) {
            shown << grid->model()->headerData(c, Qt::Horizontal).toString();
            row0 << FDX_Cluster->cell(c, 0);
            QCOMPARE(grid->horizontalHeader()->sectionResizeMode(c), QHeaderView::Interactive);
        }
        QCOMPARE(shown, (QStringList{"", "       DX", "  Freq", "  Spotter", "  Coment", "  Time", "  Date", ""}));
        QCOMPARE(row0, shown);
        QCOMPARE(grid->columnWidth(0), 10);
    }

    void awardGridTitles_data()
    {
        QTest::addColumn<QString>("award");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("DXCC, all bands") << "DXCC" << "ALL"
                                         << QStringList{"Prefix", "1.8", "3.5", "7",  "10", "14",
                                                        "18",     "21",  "24",  "28", "50", "SAT"};
        QTest::newRow("DXCC, 1.8") << "DXCC" << "1.8" << QStringList{"Prefix", "1.8", "CW", "SSB", "RTTY", "Other"};
        QTest::newRow("DXCC, Sat") << "DXCC" << "Sat" << QStringList{"Prefix", "SAT", "CW", "SSB", "RTTY", "Other"};
        QTest::newRow("UR, all bands") << "UR" << "ALL"
                                       << QStringList{"Prefix", "1.8", "35", "7",  "10",        "14",    "18",
                                                      "21",     "24",  "28", "50", "Satellite", "Oblast"};
        QTest::newRow("UR, 3.5") << "UR" << "3.5"
                                 << QStringList{"Prefix", "35", "Cw", "Ssb", "Rtty", "Other", "Oblast"};
        QTest::newRow("UR, Sat") << "UR" << "Sat"
                                 << QStringList{"Prefix", "Satellite", "Cw", "Ssb", "Rtty", "Other", "Oblast"};
        QTest::newRow("WAZ, all bands") << "WAZ" << "ALL"
                                        << QStringList{"Zone", "1.8", "3.5", "7",  "10", "14",
                                                       "18",   "21",  "24",  "28", "50", "Sat"};
        QTest::newRow("WAZ, 28") << "WAZ" << "28" << QStringList{"Zone", "28", "CW", "SSB", "RTTY", "Other"};
        QTest::newRow("WAZ, Sat") << "WAZ" << "Sat" << QStringList{"Zone", "Sat", "CW", "SSB", "RTTY", "Other"};
    }
    void awardGridTitles()
    {
        QFETCH(QString, award);
        QFETCH(QString, band);
        AwDx->showWindow();
        if (award == "UR")
            AwDx->AwardsRussUkr->trigger();
        else if (award == "WAZ")
            AwDx->AwardsWAZ->trigger();
        AwDx->ComboBox1->setCurrentText(QString());
        AwDx->ComboBox1->setCurrentText(band);
        const Db::DbGrid *grid = award == "WAZ" ? AwDx->DBGrid2 : AwDx->DBGrid1;
        QVERIFY(grid->isVisible());
        QTEST(titles(grid), "expected");
        AwDx->closeWindow();
    }
};

int main(int argc, char **argv)
{
    // The offscreen platform with one screen of a small laptop.
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 800,
                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    TestWindowSet test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestWindowSet.moc"
