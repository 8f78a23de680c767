#include "core/Filter.h"

#include "core/BandsAndModes.h"
#include "core/LogWalks.h"
#include "core/Unit2.h"
#include "platform/format/TextFormat.h"
#include "platform/ui/Guard.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

TFilter *Filter = nullptr;

namespace {

QCheckBox *check(QWidget *parent, const char *name, const QString &caption)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

Ui::MaskEdit *edit(QWidget *parent, const char *name, const QString &text, bool upper = false, int maxLength = 0)
{
    auto *e = new Ui::MaskEdit(QString::fromLatin1(name), parent);
    e->setUpperCase(upper);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    e->setText(text);
    return e;
}

template <typename Picker>
Picker *picker(QWidget *parent, const char *name, const QString &format)
{
    auto *p = new Picker(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setDisplayFormat(format);
    return p;
}

std::optional<QString> when(const QCheckBox *box, const QString &value)
{
    return box->isChecked() ? std::optional<QString>(value) : std::nullopt;
}

} // namespace

TFilter::TFilter() : Ui::Window(QStringLiteral("Filter"), QStringLiteral("Filter"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    CheckBoxC = check(central, "CheckBoxC", QStringLiteral("CallSignal"));
    EditC = edit(central, "EditC", QStringLiteral("UX??????"), true);
    CheckBoxP = check(central, "CheckBoxP", QStringLiteral("DXCC Pref"));
    EditP = edit(central, "EditP", QStringLiteral("UR"), true, 12);
    CheckBoxD = check(central, "CheckBoxD", QStringLiteral("Date"));
    DateTimePickerD = picker<QDateEdit>(central, "DateTimePickerD", QStringLiteral("dd.MM.yyyy"));
    DateTimePickerD2 = picker<QDateEdit>(central, "DateTimePickerD2", QStringLiteral("dd.MM.yyyy"));
    CheckBoxT = check(central, "CheckBoxT", QStringLiteral("Time"));
    DateTimePickerT = picker<QTimeEdit>(central, "DateTimePickerT", QStringLiteral("HH:mm:ss"));
    DateTimePickerT2 = picker<QTimeEdit>(central, "DateTimePickerT2", QStringLiteral("HH:mm:ss"));
    CheckBoxB = check(central, "CheckBoxB", QStringLiteral("Band"));
    ComboBoxB = Ui::editableCombo(central, "ComboBoxB", bandKeys(), QStringLiteral("14"));
    CheckBoxM = check(central, "CheckBoxM", QStringLiteral("Mode"));
    ComboBoxM = Ui::editableCombo(central, "ComboBoxM", modeTexts(), QStringLiteral("CW"));
    CheckBoxN = check(central, "CheckBoxN", QStringLiteral("Name"));
    EditN = edit(central, "EditN", QString());
    CheckBoxL = check(central, "CheckBoxL", QStringLiteral("Location"));
    EditL = edit(central, "EditL", QString());
    CheckBoxRR = check(central, "CheckBoxRR", QStringLiteral("Rx RST"));
    MaskEditRR = edit(central, "MaskEditRR", QStringLiteral("599"));
    CheckBoxTR = check(central, "CheckBoxTR", QStringLiteral("Tx RST"));
    MaskEditTR = edit(central, "MaskEditTR", QStringLiteral("599"));
    CheckBoxQS = check(central, "CheckBoxQS", QStringLiteral("QSL Send"));
    CheckBoxQR = check(central, "CheckBoxQR", QStringLiteral("QSL Rcvd"));
    ButtonO = new QPushButton(QStringLiteral("OK"), central);
    ButtonO->setObjectName(QStringLiteral("ButtonO"));
    ButtonC = new QPushButton(QStringLiteral("Cancel"), central);
    ButtonC->setObjectName(QStringLiteral("ButtonC"));
    Button1 = new QPushButton(QStringLiteral("Close"), central);
    Button1->setObjectName(QStringLiteral("Button1"));

    auto *grid = new QGridLayout(central);
    const std::pair<QCheckBox *, QList<QWidget *>> rows[] = {
        {CheckBoxC, {EditC}},           {CheckBoxP, {EditP}},
        {CheckBoxD, {DateTimePickerD, DateTimePickerD2}},
        {CheckBoxT, {DateTimePickerT, DateTimePickerT2}},
        {CheckBoxB, {ComboBoxB}},       {CheckBoxM, {ComboBoxM}},
        {CheckBoxN, {EditN}},           {CheckBoxL, {EditL}},
        {CheckBoxRR, {MaskEditRR}},     {CheckBoxTR, {MaskEditTR}},
        {CheckBoxQS, {}},               {CheckBoxQR, {}},
    };
    int row = 0;
    for (const auto &[box, values] : rows) {
        grid->addWidget(box, row, 0);
        for (int i = 0; i < values.size(); ++i)
            grid->addWidget(values[i], row, 1 + i);
        ++row;
    }
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {ButtonO, ButtonC, Button1})
        buttons->addWidget(b);
    grid->addLayout(buttons, row, 0, 1, 3);

    Ui::connectGuarded(ButtonO, &QPushButton::clicked, this, [this] { ButtonOClick(); });
    Ui::connectGuarded(ButtonC, &QPushButton::clicked, this, [this] { ButtonCClick(); });
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TFilter::FormCreate()
{
    const QDateTime now = QDateTime::currentDateTime();
    DateTimePickerD->setDate(now.date());
    DateTimePickerD2->setDate(now.date());
    DateTimePickerT->setTime(QTime(0, 0));
    DateTimePickerT2->setTime(now.time());
}

void TFilter::FormActivate()
{
    DM->wholeLogByDate();
}

LogFilter::Criteria TFilter::criteria() const
{
    LogFilter::Criteria c;
    c.call = when(CheckBoxC, EditC->text());
    c.dxccPrefix = when(CheckBoxP, EditP->text());
    if (CheckBoxD->isChecked())
        c.dates = std::pair{DateTimePickerD->date(), DateTimePickerD2->date()};
    if (CheckBoxT->isChecked())
        c.times = std::pair{TextFormat::timeText(DateTimePickerT->time()), TextFormat::timeText(DateTimePickerT2->time())};
    c.band = when(CheckBoxB, ComboBoxB->currentText());
    c.mode = when(CheckBoxM, ComboBoxM->currentText());
    c.name = when(CheckBoxN, EditN->text());
    c.qth = when(CheckBoxL, EditL->text());
    c.rstRx = when(CheckBoxRR, MaskEditRR->text());
    c.rstTx = when(CheckBoxTR, MaskEditTR->text());
    c.qslSent = CheckBoxQS->isChecked();
    c.qslReceived = CheckBoxQR->isChecked();
    return c;
}

void TFilter::ButtonOClick()
{
    const LogFilter::Criteria c = criteria();
    Db::Table &log = DM->Table1;
    if (!c.any() || !log.isActive())
        return;
    DM->DataSource1.setEnabled(false);
    try {
        LogWalks::markFilter(log, c, [] {});
        log.setIndexName(QStringLiteral("By1"));
        log.setRange(QStringLiteral("1"), QStringLiteral("1"));
    } catch (...) {
        DM->DataSource1.setEnabled(true);
        throw;
    }
    DM->DataSource1.setEnabled(true);
    closeWindow();
}

void TFilter::ButtonCClick()
{
    for (QCheckBox *box : {CheckBoxC, CheckBoxP, CheckBoxD, CheckBoxT, CheckBoxB, CheckBoxM, CheckBoxN, CheckBoxL,
                           CheckBoxRR, CheckBoxTR, CheckBoxQS, CheckBoxQR})
        box->setChecked(false);
    DM->wholeLogByDate();
}
