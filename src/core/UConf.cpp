// The settings window: its pages and controls, and the file's keys bound to
// them. What the window does with them is in UConfApply.cpp.

#include "core/UConf.h"

#include "core/BandsAndModes.h"

#include "core/ConfigMasks.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

TConfig *Config = nullptr;

QString defaultVcdDirectory()
{
    return QDir::home().filePath(QStringLiteral("Callbk/VCD"));
}

namespace {

const QString noProgram = QStringLiteral("C:\\");

Ui::MaskEdit *edit(QWidget *parent, const char *name, const QString &text, int maxLength = 0)
{
    auto *e = new Ui::MaskEdit(QString::fromLatin1(name), parent);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    e->setText(text);
    return e;
}

Ui::MaskEdit *masked(QWidget *parent, const char *name, const QString &text, int maxLength,
                     ConfigMasks::Validator::Complete complete, ConfigMasks::Validator::Partial partial)
{
    auto *e = edit(parent, name, text, maxLength);
    e->setValidator(new ConfigMasks::Validator(std::move(complete), std::move(partial), e));
    return e;
}

QCheckBox *check(QWidget *parent, const char *name, const QString &caption, bool checked)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setChecked(checked);
    return c;
}


QGroupBox *group(QWidget *parent, const char *name, const QString &caption)
{
    auto *g = new QGroupBox(caption, parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TConfig::TConfig() : Ui::Window(QStringLiteral("Config"), QStringLiteral("Configuration"))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    auto *central = new QWidget(this);
    setCentralWidget(central);
    PageControl = new QTabWidget(central);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    using Build = void (TConfig::*)(QWidget *);
    const std::pair<const char *, Build> pages[] = {
        {"General", &TConfig::buildGeneral}, {"LOG Name", &TConfig::buildLogNames},
        {"Grid", &TConfig::buildGrid},       {"Awards", &TConfig::buildAwards},
        {"Bases", &TConfig::buildBases},     {"Sound", &TConfig::buildSound},
        {"Programs", &TConfig::buildPrograms}};
    for (const auto &[caption, build] : pages) {
        auto *page = new QWidget(PageControl);
        PageControl->addTab(page, QString::fromLatin1(caption));
        (this->*build)(page);
    }

    Button1 = button(central, "Button1", QStringLiteral("Save"));
    Button2 = button(central, "Button2", QStringLiteral("Close"));
    Button4 = button(central, "Button4", QStringLiteral("Save Exit"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {Button1, Button2, Button4})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    HelpCon = new Ui::MenuItem(QStringLiteral("HelpCon"), QStringLiteral("Help"), this);
    HelpCon->setShortcut(QKeySequence(Qt::Key_F1));
    HelpCon->setHandler([this] { HelpConClick(); });
    help->addAction(HelpCon);

    stored_ = {
        {QStringLiteral("MyCall"), MaskEditC},     {QStringLiteral("MyName"), MaskEditN},
        {QStringLiteral("MyQth"), MaskEditQ},      {QStringLiteral("MyLat"), MaskEditLat},
        {QStringLiteral("MyLon"), MaskEditLon},    {QStringLiteral("CheckTim"), CheckBoxTim},
        {QStringLiteral("MyT"), MaskEditT},        {QStringLiteral("MyM"), MaskEdit2T},
        {QStringLiteral("Band"), ComboBoxGF},      {QStringLiteral("Mode"), ComboBoxGM},
        {QStringLiteral("InfA"), RadioGroupInf},   {QStringLiteral("AwIota"), CBIota},
        {QStringLiteral("AwWas"), CBWas},          {QStringLiteral("AwDipA"), CBDipA},
        {QStringLiteral("AwDipB"), CBDipB},        {QStringLiteral("AwANam"), EditDipA},
        {QStringLiteral("AwBNam"), EditDipB},      {QStringLiteral("EditVCD"), EditVCD},
        {QStringLiteral("CheckRep"), CheckBoxRep}, {QStringLiteral("CheckVCD"), CheckBoxVCD},
        {QStringLiteral("CheckVCDA"), CheckBoxVCDA}, {QStringLiteral("CheckSou"), CheckBoxSound},
        {QStringLiteral("CheckQRZ"), CheckBoxQRZ}, {QStringLiteral("CheckQRZA"), CheckBoxQRZA},
        {QStringLiteral("CheckHam"), CheckBoxHam}, {QStringLiteral("CheckHamA"), CheckBoxHamA},
        {QStringLiteral("Box1D"), CheckBox1D},     {QStringLiteral("Box1T"), CheckBox1T},
        {QStringLiteral("Box1B"), CheckBox1B},     {QStringLiteral("Box1M"), CheckBox1M},
        {QStringLiteral("Box1Q"), CheckBox1Q},     {QStringLiteral("Box1N"), CheckBox1N},
        {QStringLiteral("Box1RR"), CheckBox1RR},   {QStringLiteral("Box1TR"), CheckBox1TR},
        {QStringLiteral("Box1QS"), CheckBox1QS},   {QStringLiteral("Box1QR"), CheckBox1QR},
        {QStringLiteral("BoxRxRST"), CheckBoxRxRst}, {QStringLiteral("BoxTxRST"), CheckBoxTxRst},
        {QStringLiteral("BoxName"), CheckBoxName}, {QStringLiteral("BoxQth"), CheckBoxQth},
        {QStringLiteral("BoxInfo"), CheckBoxInfo}, {QStringLiteral("RxR"), MaskEditRxR},
        {QStringLiteral("TxR"), MaskEditTxR},      {QStringLiteral("GName"), EditName},
        {QStringLiteral("GQth"), EditQth},         {QStringLiteral("GInfo"), EditI},
        {QStringLiteral("Log1"), EditL1},          {QStringLiteral("Log2"), EditL2},
        {QStringLiteral("Log3"), EditL3},          {QStringLiteral("PrN1"), EditPrN1},
        {QStringLiteral("Pr1"), EditPr1},          {QStringLiteral("PrN2"), EditPrN2},
        {QStringLiteral("Pr2"), EditPr2},          {QStringLiteral("PrN3"), EditPrN3},
        {QStringLiteral("Pr3"), EditPr3},          {QStringLiteral("PrN4"), EditPrN4},
        {QStringLiteral("Pr4"), EditPr4},          {QStringLiteral("PrN5"), EditPrN5},
        {QStringLiteral("Pr5"), EditPr5},          {QStringLiteral("PrN6"), EditPrN6},
        {QStringLiteral("Pr6"), EditPr6},          {QStringLiteral("PrN9"), EditPrN9},
        {QStringLiteral("Pr9"), EditPr9},          {QStringLiteral("PrN8"), EditPrN8},
        {QStringLiteral("Pr8"), EditPr8},
    };
    connectHandlers();
}

void TConfig::buildGeneral(QWidget *page)
{
    MaskEditC = edit(page, "MaskEditC", QStringLiteral("QA1ZZ"));
    MaskEditC->setUpperCase(true);
    MaskEditN = edit(page, "MaskEditN", QString());
    MaskEditQ = edit(page, "MaskEditQ", QString());
    // Changed only in the file (see the note beside them).
    for (Ui::MaskEdit *e : {MaskEditC, MaskEditN, MaskEditQ})
        e->setReadOnly(true);
    MaskEditLat = masked(page, "MaskEditLat", QStringLiteral("0,0"), 6, ConfigMasks::positionText,
                         ConfigMasks::positionPartial);
    MaskEditLon = masked(page, "MaskEditLon", QStringLiteral("0,0"), 6, ConfigMasks::positionText,
                         ConfigMasks::positionPartial);
    // Empty until the operator types an offset: the entry time then follows
    // this machine's zone, across daylight-saving changes (the fields show
    // its current offset greyed).
    MaskEditT = masked(page, "MaskEditT", QString(), 3, ConfigMasks::utcHoursText, ConfigMasks::utcHoursPartial);
    MaskEdit2T = masked(page, "MaskEdit2T", QString(), 2, ConfigMasks::utcMinutesText,
                        ConfigMasks::utcMinutesPartial);
    CheckBoxTim = check(page, "CheckBoxTim", QStringLiteral("Time UTC Enabled"), true);
    ComboBoxGF = Ui::editableCombo(page, "ComboBoxGF", bandKeys(), QStringLiteral("14"));
    ComboBoxGM = Ui::editableCombo(page, "ComboBoxGM", modeTexts(), QStringLiteral("SSB"));

    GroupBoxInfo = group(page, "GroupBoxInfo", QStringLiteral(" INFO "));
    auto *note = new QVBoxLayout(GroupBoxInfo);
    for (const char *line : {"Для замены позывного, ", "имени, QTH нажмите Save", "и внесите изменения",
                             "в файле Tarnel.ini", "После внесенных ", "изменений желательно",
                             "перезагрузить программу"})
        note->addWidget(Ui::label(QString::fromUtf8(line), GroupBoxInfo));

    auto *time = new QHBoxLayout;
    time->addWidget(MaskEditT);
    time->addWidget(Ui::label(QStringLiteral("H"), page));
    time->addWidget(MaskEdit2T);
    time->addWidget(Ui::label(QStringLiteral("M"), page));
    auto *form = new QFormLayout;
    form->addRow(Ui::label(QStringLiteral("CallSign"), nullptr), MaskEditC);
    form->addRow(Ui::label(QStringLiteral("Name"), nullptr), MaskEditN);
    form->addRow(Ui::label(QStringLiteral("QTH"), nullptr), MaskEditQ);
    form->addRow(Ui::label(QStringLiteral("Latitude  ( -S)"), nullptr), MaskEditLat);
    form->addRow(Ui::label(QStringLiteral("Longitude ( -W)"), nullptr), MaskEditLon);
    form->addRow(Ui::label(QStringLiteral("Time UTC"), nullptr), time);
    form->addRow(QString(), CheckBoxTim);
    form->addRow(Ui::label(QStringLiteral("Band"), nullptr), ComboBoxGF);
    form->addRow(Ui::label(QStringLiteral("Mode"), nullptr), ComboBoxGM);
    auto *row = new QHBoxLayout(page);
    row->addLayout(form, 1);
    row->addWidget(GroupBoxInfo);
}

void TConfig::buildLogNames(QWidget *page)
{
    EditL1 = edit(page, "EditL1", QStringLiteral("Log"));
    EditL2 = edit(page, "EditL2", QStringLiteral("Contest"));
    EditL3 = edit(page, "EditL3", QStringLiteral("Log 2000"));
    auto *form = new QFormLayout(page);
    form->addRow(Ui::label(QStringLiteral("Log 1"), nullptr), EditL1);
    form->addRow(Ui::label(QStringLiteral("Log 2"), nullptr), EditL2);
    form->addRow(Ui::label(QStringLiteral("Log 3"), nullptr), EditL3);
}

void TConfig::buildGrid(QWidget *page)
{
    GroupBoxAdd = group(page, "GroupBoxAdd", QStringLiteral("Add"));
    GroupBoxAdd->setToolTip(QString::fromUtf8("Текст по умолчанию в полях ввода"));
    QWidget *add = GroupBoxAdd;
    CheckBoxRxRst = check(add, "CheckBoxRxRst", QStringLiteral("Rx RST"), false);
    MaskEditRxR = edit(add, "MaskEditRxR", QStringLiteral("599"), 3);
    MaskEditRxR->setUpperCase(true);
    CheckBoxTxRst = check(add, "CheckBoxTxRst", QStringLiteral("Tx RST"), false);
    MaskEditTxR = edit(add, "MaskEditTxR", QStringLiteral("599"), 3);
    MaskEditTxR->setUpperCase(true);
    CheckBoxName = check(add, "CheckBoxName", QStringLiteral("Name"), false);
    EditName = edit(add, "EditName", QString());
    CheckBoxQth = check(add, "CheckBoxQth", QStringLiteral("QTH"), false);
    EditQth = edit(add, "EditQth", QString());
    CheckBoxInfo = check(add, "CheckBoxInfo", QStringLiteral("Info"), false);
    EditI = edit(add, "EditI", QString());
    auto *fixed = new QGridLayout(add);
    const std::pair<QCheckBox *, QLineEdit *> rows[] = {
        {CheckBoxRxRst, MaskEditRxR}, {CheckBoxTxRst, MaskEditTxR}, {CheckBoxName, EditName},
        {CheckBoxQth, EditQth},       {CheckBoxInfo, EditI}};
    for (int r = 0; r < 5; ++r) {
        fixed->addWidget(rows[r].first, r, 0);
        fixed->addWidget(rows[r].second, r, 1);
    }

    GroupBoxLog = group(page, "GroupBoxLog", QStringLiteral(" Log "));
    GroupBoxLog->setToolTip(QString::fromUtf8("Вкл/Откл поля журнала"));
    QWidget *log = GroupBoxLog;
    CheckBox1D = check(log, "CheckBox1D", QStringLiteral("Date"), true);
    CheckBox1T = check(log, "CheckBox1T", QStringLiteral("Time"), true);
    CheckBox1B = check(log, "CheckBox1B", QStringLiteral("Band"), true);
    CheckBox1M = check(log, "CheckBox1M", QStringLiteral("Mode"), true);
    CheckBox1N = check(log, "CheckBox1N", QStringLiteral("Name"), true);
    CheckBox1Q = check(log, "CheckBox1Q", QStringLiteral("Qth"), true);
    CheckBox1RR = check(log, "CheckBox1RR", QStringLiteral("Rx RST"), true);
    CheckBox1TR = check(log, "CheckBox1TR", QStringLiteral("Tx RST"), true);
    CheckBox1QS = check(log, "CheckBox1QS", QStringLiteral("QSL S"), true);
    CheckBox1QR = check(log, "CheckBox1QR", QStringLiteral("QSL R"), true);
    auto *columns = new QGridLayout(log);
    int n = 0;
    for (QCheckBox *c : {CheckBox1D, CheckBox1T, CheckBox1B, CheckBox1M, CheckBox1N, CheckBox1Q, CheckBox1RR,
                         CheckBox1TR, CheckBox1QS, CheckBox1QR}) {
        columns->addWidget(c, n % 5, n / 5);
        ++n;
    }
    auto *row = new QHBoxLayout(page);
    row->addWidget(GroupBoxAdd, 1);
    row->addWidget(GroupBoxLog);
}

void TConfig::buildAwards(QWidget *page)
{
    auto *show = group(page, "GroupBoxShowInfo", QStringLiteral(" Show Info "));
    CBIota = check(show, "CBIota", QStringLiteral("IOTA"), false);
    CBWas = check(show, "CBWas", QStringLiteral("WAS"), false);
    CBDipA = check(show, "CBDipA", QStringLiteral("Award 1"), false);
    CBDipB = check(show, "CBDipB", QStringLiteral("Award 2"), false);
    auto *boxes = new QVBoxLayout(show);
    for (QCheckBox *c : {CBIota, CBWas, CBDipA, CBDipB})
        boxes->addWidget(c);
    RadioGroupInf = new Ui::RadioGroupBox(QStringLiteral("RadioGroupInf"), QStringLiteral(" Show Info in Main panel "),
                                          {QStringLiteral("DXCC"), QStringLiteral("WAZ"), QStringLiteral("Ukr - Russ")},
                                          page);
    RadioGroupInf->setItemIndex(0);
    EditDipA = edit(page, "EditDipA", QString(), 10);
    EditDipB = edit(page, "EditDipB", QString(), 10);
    auto *names = new QFormLayout;
    names->addRow(Ui::label(QStringLiteral("Name Award 1"), nullptr), EditDipA);
    names->addRow(Ui::label(QStringLiteral("Name Award 2"), nullptr), EditDipB);
    auto *grid = new QGridLayout(page);
    grid->addWidget(show, 0, 0);
    grid->addWidget(RadioGroupInf, 0, 1);
    grid->addLayout(names, 1, 0, 1, 2);
}

void TConfig::buildBases(QWidget *page)
{
    LabelRep = Ui::label(QStringLiteral("Repetition of connection"), page);
    LabelRep->setObjectName(QStringLiteral("LabelRep"));
    LabelRep->setToolTip(QString::fromUtf8("Повтор QSO"));
    CheckBoxRep = check(page, "CheckBoxRep", QStringLiteral("Auto"), true);
    CheckBoxVCD = check(page, "CheckBoxVCD", QStringLiteral("VCD"), false);
    CheckBoxVCD->setToolTip(QString::fromUtf8("Внешняя база данных Вкл/Выкл"));
    EditVCD = edit(page, "EditVCD", defaultVcdDirectory());
    EditVCD->setToolTip(QString::fromUtf8("Внешняя база данных"));
    CheckBoxVCDA = check(page, "CheckBoxVCDA", QStringLiteral("Auto"), false);
    CheckBoxQRZ = check(page, "CheckBoxQRZ", QStringLiteral("Internal Bases 1"), false);
    CheckBoxQRZA = check(page, "CheckBoxQRZA", QStringLiteral("Auto"), false);
    CheckBoxHam = check(page, "CheckBoxHam", QStringLiteral("Internal Bases 2 (SNG)"), true);
    CheckBoxHamA = check(page, "CheckBoxHamA", QStringLiteral("Auto"), true);

    auto *grid = new QGridLayout(page);
    grid->addWidget(LabelRep, 0, 0);
    grid->addWidget(CheckBoxRep, 0, 2);
    grid->addWidget(CheckBoxVCD, 1, 0);
    grid->addWidget(EditVCD, 1, 1);
    grid->addWidget(CheckBoxVCDA, 1, 2);
    grid->addWidget(CheckBoxQRZ, 2, 0);
    grid->addWidget(Ui::label(QStringLiteral("( Recom. Pentium III )"), page), 2, 1);
    grid->addWidget(CheckBoxQRZA, 2, 2);
    grid->addWidget(CheckBoxHam, 3, 0);
    grid->addWidget(CheckBoxHamA, 3, 2);
    // Rows of services that are gone; never stored nor read.
    int row = 4;
    for (const char *name : {"GoList", "QSL Man"}) {
        auto *off = new QCheckBox(QString::fromLatin1(name), page);
        auto *auto_ = new QCheckBox(QStringLiteral("Auto"), page);
        for (QCheckBox *c : {off, auto_}) {
            c->setEnabled(false);
            c->hide();
        }
        grid->addWidget(off, row, 0);
        grid->addWidget(auto_, row, 2);
        ++row;
    }
}

void TConfig::buildSound(QWidget *page)
{
    CheckBoxSound = check(page, "CheckBoxSound", QStringLiteral("AutoSave Enabled"), false);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(CheckBoxSound);
    layout->addStretch(1);
}

void TConfig::buildPrograms(QWidget *page)
{
    auto *grid = new QGridLayout(page);
    Ui::MaskEdit **names[] = {&EditPrN1, &EditPrN2, &EditPrN3, &EditPrN4, &EditPrN5, &EditPrN6};
    Ui::MaskEdit **paths[] = {&EditPr1, &EditPr2, &EditPr3, &EditPr4, &EditPr5, &EditPr6};
    for (int i = 0; i < 6; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        *names[i] = edit(page, ("EditPrN" + n).constData(), QStringLiteral("Name") + QString::fromLatin1(n));
        *paths[i] = edit(page, ("EditPr" + n).constData(), noProgram);
        grid->addWidget(*names[i], i, 0);
        grid->addWidget(*paths[i], i, 1);
    }
    auto *mixw = group(page, "GroupBoxMixW", QStringLiteral("MixW2.log"));
    EditPrN9 = edit(mixw, "EditPrN9", QStringLiteral("MixW Log"));
    EditPr9 = edit(mixw, "EditPr9", noProgram);
    EditPrN8 = edit(mixw, "EditPrN8", QStringLiteral("DigiPan Log"));
    EditPr8 = edit(mixw, "EditPr8", noProgram);
    for (Ui::MaskEdit *e : {EditPrN9, EditPrN8})
        e->setReadOnly(true);
    EditPrN8->hide();
    EditPr8->hide();
    auto *panel = new QGridLayout(mixw);
    panel->addWidget(EditPrN9, 0, 0);
    panel->addWidget(EditPr9, 0, 1);
    panel->addWidget(EditPrN8, 1, 0);
    panel->addWidget(EditPr8, 1, 1);
    grid->addWidget(mixw, 6, 0, 1, 2);
}

void TConfig::connectHandlers()
{
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    Ui::connectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    Ui::connectGuarded(MaskEditT, &QLineEdit::textChanged, this, [this] { MaskEditTChange(); });
    Ui::connectGuarded(MaskEdit2T, &QLineEdit::textChanged, this, [this] { MaskEdit2TChange(); });
    Ui::connectGuarded(MaskEditT, &Ui::MaskEdit::exited, this, [this] { MaskEditTExit(); });
    Ui::connectGuarded(MaskEdit2T, &Ui::MaskEdit::exited, this, [this] { MaskEdit2TExit(); });
    // The operator's own click only: reading the file tests the directory
    // once afterwards, whatever the order of its lines.
    Ui::connectGuarded(CheckBoxVCD, &QCheckBox::clicked, this, [this] { CheckBoxVCDClick(); });
}

SettingsFile::Values TConfig::settingValues() const
{
    SettingsFile::Values values;
    for (const auto &[key, control] : stored_) {
        if (auto *box = qobject_cast<QCheckBox *>(control))
            values.insert(key, box->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
        else if (auto *radio = qobject_cast<Ui::RadioGroupBox *>(control))
            values.insert(key, QString::number(radio->itemIndex()));
        else if (auto *list = qobject_cast<QComboBox *>(control))
            values.insert(key, list->currentText());
        else if (auto *line = qobject_cast<QLineEdit *>(control))
            values.insert(key, line->text());
    }
    return values;
}

void TConfig::setSettingValues(const SettingsFile::Values &values)
{
    for (const auto &[key, control] : stored_) {
        const auto found = values.constFind(key);
        if (found == values.cend())
            continue;
        const QString &value = *found;
        if (auto *box = qobject_cast<QCheckBox *>(control)) {
            box->setChecked(value == QLatin1String("True"));
        } else if (auto *radio = qobject_cast<Ui::RadioGroupBox *>(control)) {
            radio->setItemIndex(value.toInt());
        } else if (auto *list = qobject_cast<QComboBox *>(control)) {
            list->setCurrentText(value);
        } else if (auto *line = qobject_cast<QLineEdit *>(control)) {
            const auto *mask = dynamic_cast<const ConfigMasks::Validator *>(line->validator());
            line->setText(mask ? mask->fieldText(value) : value);
        }
    }
}

QString TConfig::programDirectory() const
{
    return Form3 && !Form3->EditDir->text().isEmpty() ? Form3->EditDir->text() : QDir::currentPath();
}

QString TConfig::settingsPath() const
{
    return QDir(programDirectory()).filePath(QLatin1String(SettingsFile::fileName));
}
