#include "awards/UDxcc.h"

#include "awards/AwardMarks.h"
#include "awards/AwardsBehind.h"
#include "awards/AwardsRebuild.h"
#include "awards/UAdPref.h"
#include "awards/UEditPr.h"
#include "core/Progress.h"
#include "core/TableSchemas.h"
#include "core/Unit2.h"
#include "platform/format/TextFormat.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <exception>

TAwDx *AwDx = nullptr;

namespace {

const QString worked = QStringLiteral("Worked");
const QString confirm = QStringLiteral("Confirm");

// What each award is shown and counted from.
struct AwardTable {
    Db::Table *table;
    Db::DataSource *source;
    bool capitalModes;
    QString title;
    AwardMarks::Which which;
    QString clearQuestion;
};

AwardTable dxccAward()
{
    return {&DM->Table4, &DM->DataSource4, false, QStringLiteral("DXCC"), AwardMarks::Which::Dxcc,
            QStringLiteral("Clear DXCC ?")};
}

AwardTable wazAward()
{
    return {&DM->Table5, &DM->DataSource5, true, QStringLiteral("WAZ"), AwardMarks::Which::Waz,
            QStringLiteral("Clear WAZ ?")};
}

AwardTable urAward()
{
    return {&DM->Table9, &DM->DataSource9, false, QStringLiteral("Russ - Ukr"), AwardMarks::Which::UR,
            QStringLiteral("Clear Russ - Ukr ?")};
}

void firstRow(Db::Table &t)
{
    if (t.isActive())
        t.first();
}

void showCells(Db::Table &table, bool capitalModes, const QString &chooserText)
{
    const QStringList shown = AwardCounts::shownCells(chooserText, capitalModes);
    for (const QString &cell : TableSchemas::awardCells(capitalModes))
        table.setFieldVisible(cell, shown.contains(cell));
}

} // namespace

TAwDx::TAwDx() : Ui::Window(QStringLiteral("AwDx"), QStringLiteral("Awards"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *main = new QHBoxLayout(central);
    const auto label = [central](const char *name, const QString &text) {
        auto *l = Ui::label(text, central);
        if (name)
            l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    const auto button = [central](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };

    // The Waz grid lies on top of the other in the same place.
    auto *grids = new QStackedLayout;
    grids->setStackingMode(QStackedLayout::StackAll);
    DBGrid1 = new Db::DbGrid(central);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(&DM->DataSource4);
    DBGrid2 = new Db::DbGrid(central);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setDataSource(&DM->DataSource5);
    for (Db::DbGrid *grid : {DBGrid1, DBGrid2}) {
        grid->setScrollsSideways(true);
        grids->addWidget(grid);
    }
    DBGrid2->hide();
    main->addLayout(grids, 1);

    auto *side = new QVBoxLayout;
    main->addLayout(side);
    auto *choose = new QGridLayout;
    side->addLayout(choose);
    Label1 = label("Label1", QStringLiteral("Band"));
    ComboBox1 = Ui::editableCombo(central, "ComboBox1",
                                  {QStringLiteral("1.8"), QStringLiteral("3.5"), QStringLiteral("7"),
                                   QStringLiteral("10"), QStringLiteral("14"), QStringLiteral("18"),
                                   QStringLiteral("21"), QStringLiteral("24"), QStringLiteral("28"),
                                   QStringLiteral("50"), QStringLiteral("Sat"), QStringLiteral("ALL")},
                                  QStringLiteral("ALL"));
    Label2 = label("Label2", QStringLiteral("Find Prefix"));
    MaskEdit1 = new Ui::MaskEdit(QStringLiteral("MaskEdit1"), central);
    MaskEdit1->setUpperCase(true);
    MaskEdit1->setMaxLength(6);
    choose->addWidget(Label1, 0, 0);
    choose->addWidget(ComboBox1, 0, 1);
    choose->addWidget(Label2, 1, 0);
    choose->addWidget(MaskEdit1, 1, 1);
    Button3 = button("Button3", QStringLiteral("Refresh"));
    Button3->setToolTip(QStringLiteral("Обновить из активного лога"));
    side->addWidget(Button3);

    Label18 = label("Label18", QStringLiteral("DXCC worked"));
    side->addWidget(Label18);
    auto *matrix = new QGridLayout;
    side->addLayout(matrix);
    Label15 = label("Label15", QStringLiteral("____CW   SSB  RTTY Other"));
    matrix->addWidget(Label15, 0, 1, 1, 4);
    static const char *const rows[] = {"1.8 |", "3.5 |", "7    |", "10  |", "14  |", "18  |",
                                       "21  |", "24  |", "28  |", "50  |", "Sat|"};
    static const char *const names[] = {"16", "35", "7", "10", "14", "18", "21", "24", "28", "50", "S", "T"};
    static const char *const modes[] = {"C", "S", "R", "O"};
    for (int r = 0; r <= AwardCounts::bandRows; ++r) {
        // The totals sit below a rule line.
        const int line = r < AwardCounts::bandRows ? r + 1 : r + 2;
        matrix->addWidget(label(nullptr, r < AwardCounts::bandRows ? QString::fromLatin1(rows[r])
                                                                   : QStringLiteral("Total |")),
                          line, 0);
        for (int m = 0; m < AwardCounts::modeClasses; ++m) {
            const QString name = QStringLiteral("Label%1%2").arg(QLatin1String(names[r]), QLatin1String(modes[m]));
            counts_[r][m] = label(name.toLatin1().constData(), QStringLiteral("0"));
            matrix->addWidget(counts_[r][m], line, m + 1);
        }
    }
    matrix->addWidget(label(nullptr, QStringLiteral("______________________")), AwardCounts::bandRows + 1, 0, 1, 5);
    QLabel **named[] = {&Label16C, &Label16S, &Label16R, &Label16O, &Label35C, &Label35S, &Label35R, &Label35O,
                        &Label7C,  &Label7S,  &Label7R,  &Label7O,  &Label10C, &Label10S, &Label10R, &Label10O,
                        &Label14C, &Label14S, &Label14R, &Label14O, &Label18C, &Label18S, &Label18R, &Label18O,
                        &Label21C, &Label21S, &Label21R, &Label21O, &Label24C, &Label24S, &Label24R, &Label24O,
                        &Label28C, &Label28S, &Label28R, &Label28O, &Label50C, &Label50S, &Label50R, &Label50O,
                        &LabelSC,  &LabelSS,  &LabelSR,  &LabelSO,  &LabelTC,  &LabelTS,  &LabelTR,  &LabelTO};
    for (int i = 0; i < 48; ++i)
        *named[i] = counts_[i / 4][i % 4];
    Button4 = button("Button4", confirm);
    Button4->setToolTip(QStringLiteral("Подтверждено / Работал"));
    Button1 = button("Button1", QStringLiteral("Close"));
    side->addWidget(Button4);
    side->addStretch();
    side->addWidget(Button1);

    const auto item = [this](QMenu *menu, const char *name, const QString &caption, void (TAwDx::*handler)()) {
        auto *i = new Ui::MenuItem(QString::fromLatin1(name), caption, this);
        i->setHandler([this, handler] { (this->*handler)(); });
        menu->addAction(i);
        return i;
    };
    EditMenu = menuBar()->addMenu(QStringLiteral("Edit"));
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    EditPref = item(EditMenu, "EditPref", QStringLiteral("Edit Prefix"), &TAwDx::EditPrefClick);
    EditAdd = item(EditMenu, "EditAdd", QStringLiteral("Add Prefix"), &TAwDx::EditAddClick);
    EditMenu->addSeparator();
    EditDel = item(EditMenu, "EditDel", QStringLiteral("Delete"), &TAwDx::EditDelClick);
    AwardsMenu = menuBar()->addMenu(QStringLiteral("Awards"));
    AwardsMenu->setObjectName(QStringLiteral("AwardsMenu"));
    AwardsDXCC = item(AwardsMenu, "AwardsDXCC", QStringLiteral("DXCC"), &TAwDx::AwardsDXCCClick);
    AwardsWAZ = item(AwardsMenu, "AwardsWAZ", QStringLiteral("WAZ"), &TAwDx::AwardsWAZClick);
    AwardsRussUkr = item(AwardsMenu, "AwardsRussUkr", QStringLiteral("Russ - Ukr"), &TAwDx::AwardsRussUkrClick);
    for (Ui::MenuItem *i : {AwardsDXCC, AwardsWAZ, AwardsRussUkr})
        i->setGroup(&awards_);
    AwardsDXCC->setChecked(true);
    AwardsMenu->addSeparator();
    AwardClDXCC = item(AwardsMenu, "AwardClDXCC", QStringLiteral("Clear DXCC"), &TAwDx::AwardClDXCCClick);
    AwardClWAZ = item(AwardsMenu, "AwardClWAZ", QStringLiteral("Clear WAZ"), &TAwDx::AwardClWAZClick);
    AwardClRussUkr1 =
        item(AwardsMenu, "AwardClRussUkr1", QStringLiteral("Clear Russ - Ukr"), &TAwDx::AwardClRussUkr1Click);

    Ui::connectGuarded(ComboBox1, &QComboBox::currentTextChanged, this, [this] { ComboBox1Change(); });
    Ui::connectGuarded(MaskEdit1, &QLineEdit::textChanged, this, [this] { MaskEdit1Change(); });
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    Ui::connectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    resize(760, 520);
}

TAwDx::Award TAwDx::ticked() const
{
    if (AwardsWAZ->isChecked())
        return Award::Waz;
    if (AwardsRussUkr->isChecked())
        return Award::UR;
    return Award::Dxcc;
}

namespace {

AwardTable awardTable(int award)
{
    switch (award) {
    case 1: return wazAward();
    case 2: return urAward();
    default: return dxccAward();
    }
}

} // namespace

void TAwDx::showCounts(const AwardCounts::Matrix &m)
{
    for (int r = 0; r < AwardCounts::bandRows; ++r)
        for (int c = 0; c < AwardCounts::modeClasses; ++c)
            counts_[r][c]->setText(TextFormat::integerText(m.cells[r][c]));
    for (int c = 0; c < AwardCounts::modeClasses; ++c)
        counts_[AwardCounts::bandRows][c]->setText(TextFormat::integerText(m.totals[c]));
}

void TAwDx::countInto(Award award, AwardCounts::View view)
{
    const AwardTable a = awardTable(int(award));
    showCounts(AwardCounts::count(*a.table, a.capitalModes, view));
}

void TAwDx::FormActivate()
{
    // Dxcc and UR show all their rows while their master is closed.
    DM->Table3.close();
    showCells(DM->Table4, false, QStringLiteral("ALL"));
    const AwardTable a = awardTable(int(ticked()));
    Db::Detached detached{a.source};
    // The view the title names: worked while the next press would confirm.
    countInto(ticked(), Button4->text() == confirm ? AwardCounts::View::Worked : AwardCounts::View::Confirmed);
    firstRow(*a.table);
}

void TAwDx::FormClose()
{
    // The rest of the program needs Dxcc and UR following the prefix again.
    DM->Table3.open();
}

void TAwDx::ComboBox1Change()
{
    const QString text = ComboBox1->currentText();
    showCells(DM->Table4, false, text);
    showCells(DM->Table9, false, text);
    showCells(DM->Table5, true, text);
}

void TAwDx::MaskEdit1Change()
{
    for (Db::Table *t : {&DM->Table4, &DM->Table9})
        if (t->isActive())
            t->locate(QStringLiteral("Prefix"), MaskEdit1->text());
}

void TAwDx::Button1Click()
{
    closeWindow();
}

void TAwDx::Button4Click()
{
    {
        Db::Detached detached{&DM->DataSource5, &DM->DataSource4, &DM->DataSource9};
        for (Db::Table *t : {&DM->Table4, &DM->Table5, &DM->Table9})
            firstRow(*t);
        const bool toWorked = Button4->text() == worked;
        countInto(ticked(), toWorked ? AwardCounts::View::Worked : AwardCounts::View::Confirmed);
        Button4->setText(toWorked ? confirm : worked);
        Label18->setText(awardTable(int(ticked())).title +
                         (toWorked ? QStringLiteral(" worked") : QStringLiteral(" confirmed")));
    }
    for (Db::Table *t : {&DM->Table4, &DM->Table5, &DM->Table9})
        firstRow(*t);
}

void TAwDx::resetBandChooser()
{
    // "ALL" chosen stays chosen.
    if (ComboBox1->currentText() != QLatin1String("ALL"))
        ComboBox1->setCurrentText(QStringLiteral("ALL"));
}

void TAwDx::AwardsDXCCClick()
{
    DBGrid1->setDataSource(&DM->DataSource4);
    AwardsDXCC->setChecked(true);
    EditDel->setEnabled(true);
    Button4Click();
    DBGrid2->hide();
    MaskEdit1->show();
    Label2->show();
}

void TAwDx::AwardsWAZClick()
{
    AwardsWAZ->setChecked(true);
    // Delete acts on Dxcc, which no grid shows now.
    EditDel->setEnabled(false);
    Button4Click();
    DBGrid2->show();
    DBGrid2->raise();
    MaskEdit1->hide();
    Label2->hide();
    resetBandChooser();
}

void TAwDx::AwardsRussUkrClick()
{
    Button4->setText(worked);
    AwardsRussUkr->setChecked(true);
    EditDel->setEnabled(false);
    Button4Click();
    DBGrid2->hide();
    MaskEdit1->show();
    Label2->show();
    resetBandChooser();
    DBGrid1->setDataSource(&DM->DataSource9);
}

void TAwDx::EditPrefClick()
{
    if (!DM->Table3.isActive())
        DM->Table3.open();
    FormEditPref->showModal();
}

void TAwDx::EditAddClick()
{
    if (!DM->Table3.isActive())
        DM->Table3.open();
    AddPref->showModal();
}

void TAwDx::EditDelClick()
{
    if (Ui::askYesNoCancel(QStringLiteral("DXCC Counry deleted")) != Ui::Answer::Yes)
        return;
    if (DM->Table4.isActive() && !DM->Table4.isEmpty())
        DM->Table4.deleteRecord();
}

void TAwDx::clearAward(Award award)
{
    const AwardTable a = awardTable(int(award));
    if (Ui::askYesNoCancel(a.clearQuestion) != Ui::Answer::Yes)
        return;
    {
        Db::Detached detached{a.source};
        DM->Marks.clear(a.which);
        firstRow(*a.table);
    }
    switch (award) {
    case Award::Dxcc: AwardsDXCC->click(); break;
    case Award::Waz: AwardsWAZ->click(); break;
    case Award::UR: AwardsRussUkr->click(); break;
    }
}

void TAwDx::AwardClDXCCClick()
{
    clearAward(Award::Dxcc);
}

void TAwDx::AwardClWAZClick()
{
    clearAward(Award::Waz);
}

void TAwDx::AwardClRussUkr1Click()
{
    clearAward(Award::UR);
}

void TAwDx::Button3Click()
{
    refresh(Ui::askYesNoCancel(QStringLiteral("If to add from active LOG press No. Clear Awards ?")));
}

void TAwDx::catchUp()
{
    if (DM->Table1.isActive() && AwardsBehind::isMarked(DM->Table1.filePath()))
        refresh(Ui::Answer::Yes);
}

void TAwDx::refresh(Ui::Answer answer)
{
    // Whatever happens, the callsign entry finds Allpref open and linked; while
    // this window is on show Prefix stays closed (closing the window opens it),
    // so its grid and counts keep every Dxcc row.
    struct EndState {
        bool windowShown;
        ~EndState()
        {
            if (windowShown)
                Ui::runRestoring([] { DM->Table3.close(); });
            else
                Ui::runRestoring([] { DM->Table3.open(); });
            Ui::runRestoring([] { DM->Table2.open(); });
        }
    } end{isVisible()};
    if (answer == Ui::Answer::Cancel)
        return;
    {
        Db::Detached detached{&DM->DataSource4, &DM->DataSource5, &DM->DataSource9};
        // After clearing every mark the whole log is walked, whatever range
        // the grid has: a filter's range would lose the marks of the rest.
        const bool clearFirst = answer == Ui::Answer::Yes;
        Db::Table &log = clearFirst ? DM->LogLookup : DM->Table1;
        ProgressWalk progress;
        progress.start(log.recordCount());
        AwardsRebuild::rebuild({log, DM->Table2, DM->Table3, DM->Marks, DM->Table4, DM->Table9, DM->Table5},
                               clearFirst, [&] {
                                   progress.step();
                                   if (rebuildStep)
                                       rebuildStep();
                               });
        DM->Table3.close();
        DM->Table1.last();
    }
    firstRow(DM->Table4);
    Button4Click();
}
