#include "contest/UContst.h"

#include "contest/ContestCount.h"
#include "contest/UContest.h"
#include "core/BandsAndModes.h"
#include "core/Unit2.h"
#include "platform/table/DataSource.h"
#include "platform/table/DbGrid.h"
#include "platform/table/Table.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

TCont *Cont = nullptr;

namespace {

// The bands the panels show, by contest token.
constexpr const char *panelBands[] = {"18", "35", "7", "14", "21", "28", "Sat"};
constexpr const char *panelModes[] = {"CW", "SSB", "RTTY", "Other"};
// Mode endings of the award fields (matched without regard to case).
constexpr const char *fieldModes[] = {"Cw", "Ssb", "Rtty", "Other"};

const Band &bandOfToken(const char *token)
{
    for (const Band &band : bands())
        if (band.token == QLatin1StringView(token))
            return band;
    return bands().front();
}

QLabel *fixedLabel(const QString &text, QWidget *parent)
{
    auto *label = Ui::label(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TAwardPanel::TAwardPanel(const QString &objectName, const QString &caption, const QString &keyField, QWidget *parent)
    : QGroupBox(caption, parent), keyField_(keyField)
{
    setObjectName(objectName);
    auto *grid = new QGridLayout(this);
    grid->setSpacing(2);
    auto *key = fixedLabel(QString(), this);
    key->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(key, 0, 0);
    cells_.append({keyField, key, -1});
    int column = 1;
    for (const char *token : panelBands) {
        const Band &band = bandOfToken(token);
        const QString heading = band.token == QLatin1StringView("Sat") ? QString(band.token) : QString(band.key);
        grid->addWidget(fixedLabel(heading, this), 0, column++);
    }
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(fixedLabel(QString::fromLatin1(panelModes[row]), this), row + 1, 0);
        column = 1;
        for (const char *token : panelBands) {
            const QString field = QString(bandOfToken(token).awardMode) + QString::fromLatin1(fieldModes[row]);
            auto *cell = fixedLabel(QString(), this);
            cell->setObjectName(field);
            cell->setFrameShape(QFrame::StyledPanel);
            cell->setMinimumWidth(30);
            grid->addWidget(cell, row + 1, column++);
            cells_.append({field, cell, -1});
        }
    }
}

void TAwardPanel::bind(Db::DataSource *source)
{
    source_ = source;
    for (auto signal : {&Db::DataSource::dataChange, &Db::DataSource::layoutChange, &Db::DataSource::stateChange})
        Ui::connectGuarded(source, signal, this, [this] { refresh(); });
    refresh();
}

QLabel *TAwardPanel::cell(const QString &fieldName) const
{
    for (const Cell &c : cells_)
        if (c.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return c.label;
    return nullptr;
}

// A detached source or a row-less table shows empty cells.
void TAwardPanel::refresh()
{
    Db::Table *table = source_ && source_->isEnabled() ? source_->dataSet() : nullptr;
    const bool hasRow = table && table->isActive() && table->currentRowId() != 0;
    const Db::TableSchema *schema = hasRow ? &table->schema() : nullptr;
    for (Cell &c : cells_) {
        // The column found last time, while it still holds the field: a
        // keystroke refreshes the panels several times.
        if (schema && !(c.column >= 0 && c.column < schema->fields.size() &&
                        schema->fields[c.column].name.compare(c.name, Qt::CaseInsensitive) == 0))
            c.column = schema->fieldIndex(c.name);
        const bool shown = schema && c.column >= 0;
        c.label->setText(shown ? table->field(c.column).asString() : QString());
    }
}

TCont::TCont() : Ui::Window(QStringLiteral("Cont"), QStringLiteral("Info"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);

    DBGrid1 = new Db::DbGrid(central);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setDeferred(true); // its cursor follows every key typed in the callsign
    QPalette palette = DBGrid1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    DBGrid1->setPalette(palette);
    layout->addWidget(DBGrid1, 1);

    auto *counts = new QHBoxLayout;
    layout->addLayout(counts);
    GroupBox8 = new QGroupBox(central);
    GroupBox8->setObjectName(QStringLiteral("GroupBox8"));
    auto *filtered = new QHBoxLayout(GroupBox8);
    Label2 = Ui::label(QStringLiteral("000"), GroupBox8);
    Label2->setObjectName(QStringLiteral("Label2"));
    // Its count changes on every key typed: a label of fixed size does not
    // lay the window out again each time. Seven digits fit any log.
    Label2->setFixedSize(Label2->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 4,
                         Label2->sizeHint().height());
    filtered->addWidget(Ui::label(QStringLiteral("Filtered"), GroupBox8));
    filtered->addWidget(Label2);
    filtered->addWidget(Ui::label(QStringLiteral("QSOs"), GroupBox8));
    counts->addWidget(GroupBox8);

    GroupBox9 = new QGroupBox(central);
    GroupBox9->setObjectName(QStringLiteral("GroupBox9"));
    auto *switches = new QHBoxLayout(GroupBox9);
    auto button = [](QWidget *parent, const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    Button2 = button(GroupBox9, "Button2", QStringLiteral("DXCC"));
    Button3 = button(GroupBox9, "Button3", QStringLiteral("WAZ"));
    Button4 = button(GroupBox9, "Button4", QStringLiteral("U R"));
    for (QPushButton *b : {Button2, Button3, Button4})
        switches->addWidget(b);
    counts->addWidget(GroupBox9);
    GroupBox9->hide(); // shown by the repetition view

    GroupBox2 = new TAwardPanel(QStringLiteral("GroupBox2"), QStringLiteral("DXCC"), QStringLiteral("Prefix"), central);
    GroupBox3 = new TAwardPanel(QStringLiteral("GroupBox3"), QStringLiteral("WAZ"), QStringLiteral("Zone"), central);
    GroupBox4 = new TAwardPanel(QStringLiteral("GroupBox4"), QStringLiteral("Ukraine - Russia"), QStringLiteral("Prefix"),
                                central);
    for (TAwardPanel *panel : {GroupBox2, GroupBox3, GroupBox4})
        layout->addWidget(panel);
    GroupBox3->hide();
    GroupBox4->hide();

    GroupBox7 = new QGroupBox(central);
    GroupBox7->setObjectName(QStringLiteral("GroupBox7"));
    auto *points = new QHBoxLayout(GroupBox7);
    Label5 = Ui::label(QStringLiteral("000"), GroupBox7);
    Label5->setObjectName(QStringLiteral("Label5"));
    Button1 = button(GroupBox7, "Button1", QStringLiteral("Refr"));
    points->addWidget(Ui::label(QStringLiteral("Points"), GroupBox7));
    points->addWidget(Label5);
    points->addWidget(Button1);
    layout->addWidget(GroupBox7);

    const std::pair<QPushButton *, void (TCont::*)()> handlers[] = {
        {Button1, &TCont::Button1Click}, {Button2, &TCont::Button2Click},
        {Button3, &TCont::Button3Click}, {Button4, &TCont::Button4Click},
    };
    for (const auto &[b, handler] : handlers)
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
}

// The data module exists by now (it is created before this window).
void TCont::FormCreate()
{
    if (!DM)
        return;
    DBGrid1->setDataSource(&DM->DataSource7);
    GroupBox2->bind(&DM->DataSource4);
    GroupBox3->bind(&DM->DataSource5);
    GroupBox4->bind(&DM->DataSource9);
}

void TCont::FormActivate()
{
    switch (ContConf->RadioGroup1->itemIndex()) {
    case 0: showPanel(GroupBox2); break;
    case 1: showPanel(GroupBox3); break;
    case 2:
    case 3: showPanel(GroupBox4); break;
    default: break;
    }
}

void TCont::showPanel(TAwardPanel *panel)
{
    for (TAwardPanel *p : {GroupBox2, GroupBox3, GroupBox4})
        p->setVisible(p == panel);
}

// The sum reads the rows without moving the main cursor, so the log grid
// stays attached throughout. Without a filter range it reads the log in
// entry order, the quickest, since the sort order does not change a sum.
void TCont::Button1Click()
{
    Label5->setText(QStringLiteral("0"));
    Db::Table &log = DM->Table1;
    ContestCount::Total total;
    if (log.isActive() && !log.hasRange()) {
        Db::Table entryOrder(log.database(), log.tableName());
        entryOrder.open();
        total = ContestCount::recount(entryOrder);
    } else {
        total = ContestCount::recount(log);
    }
    Label5->setText(total.sum);
    if (!total.error.isEmpty())
        Ui::showError(total.error);
}
