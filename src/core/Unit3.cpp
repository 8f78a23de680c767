#include "core/Unit3.h"

#include "core/BandsAndModes.h"

#include "awards/FDipA.h"
#include "awards/FDipB.h"
#include "awards/FIota.h"
#include "awards/FWas.h"
#include "awards/UDxcc.h"
#include "contest/UCabrill.h"
#include "contest/UContest.h"
#include "core/AboutBox.h"
#include "core/FVihod.h"
#include "core/FiltCal.h"
#include "core/Filter.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "lookups/UCallInt.h"
#include "lookups/UCluster.h"
#include "lookups/UVCD.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Guard.h"
#include "station/UCw.h"
#include "utilities/UImage.h"
#include "utilities/ULabel.h"
#include "utilities/UPack.h"
#include "utilities/USked.h"
#include "utilities/UTimer.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

TForm3 *Form3 = nullptr;

namespace {

constexpr int grey = 8421504;
constexpr int notepadHeight = 50;
constexpr int notepadLimit = 238;

QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    return Ui::label(caption, parent, name);
}

Ui::MaskEdit *edit(QWidget *parent, const char *name, int maxLength, bool upper = false)
{
    auto *e = new Ui::MaskEdit(QString::fromLatin1(name), parent);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    e->setUpperCase(upper);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, bool visible = true)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setVisible(visible);
    b->setAutoDefault(false);
    return b;
}


QTimer *timer(QObject *parent, const char *name, int interval)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(interval);
    return t;
}

} // namespace

namespace {

// The contest hints come and go as callsigns are typed. Shown or hidden in
// a layout, each would lay the whole main window out again, and move the
// log grid, on every few keys; here they have their room kept, one row each,
// in a panel of their own that no layout reaches into.
class HintRows final : public QWidget {
public:
    using QWidget::QWidget;

    void fitRows()
    {
        ensurePolished();
        int height = 0;
        for (const QWidget *row : rows())
            height += row->sizeHint().height();
        setFixedHeight(height);
        placeRows();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        placeRows();
    }

    void changeEvent(QEvent *event) override
    {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            fitRows();
    }

private:
    QList<QWidget *> rows() const { return findChildren<QWidget *>(Qt::FindDirectChildrenOnly); }

    void placeRows()
    {
        int y = 0;
        for (QWidget *row : rows()) {
            const int h = row->sizeHint().height();
            row->setGeometry(0, y, width(), h);
            y += h;
        }
    }
};

} // namespace

TForm3::TForm3() : Ui::Window(QStringLiteral("Form3"), QStringLiteral("Tarnel"))
{
    setEndsProgram(true);
    setOpensAtTop(true);
    setMinimumSize(528, 485);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("PanelMain"));
    setCentralWidget(central);
    buildEntry();
    buildInfo();
    buildLogView();

    auto *top = new QHBoxLayout;
    top->addWidget(PanelEntry, 1);
    top->addWidget(GroupBoxInfo);
    auto *main = new QVBoxLayout(central);
    main->addLayout(top);
    main->addWidget(DBGridLog, 1);
    auto *status = new QHBoxLayout;
    status->addWidget(Total);
    status->addWidget(Label35, 1);
    main->addLayout(status);

    Timer1 = timer(this, "Timer1", 1000);
    Timer2 = timer(this, "Timer2", 10);
    Timer3 = timer(this, "Timer3", 1000);
    Timer4 = timer(this, "Timer4", 500);
    LogDamage = new Ui::Notice(QStringLiteral("LogDamage"), QStringLiteral("Tarnel"), this);
    // Arrives at a moment of its own: the program's work, never the operator's.
    logCheck_ = std::make_unique<Db::FileCheck>(
        [this](const Db::TableError &error) { Ui::runGuarded([&] { LogDamage->report(error.message()); }); });
    // Timer1 starts once the whole window set exists (startClock): it reads
    // windows created after this one, and a box shown during start-up would
    // let it tick.

    buildMenus();
    buildPopupMenus();
    connectHandlers();
}

void TForm3::buildEntry()
{
    PanelEntry = new QWidget(centralWidget());
    PanelEntry->setObjectName(QStringLiteral("PanelEntry"));
    QWidget *p = PanelEntry;

    MaskEditCall = edit(p, "MaskEditCall", 16, true);
    // Not a tab stop until the first activation.
    MaskEditCall->setFocusPolicy(Qt::ClickFocus);
    MaskEditRstTx = edit(p, "MaskEditRstTx", 3, true);
    MaskEditRstTx->setText(QStringLiteral("59"));
    MaskEditRstRx = edit(p, "MaskEditRstRx", 3, true);
    MaskEditRstRx->setText(QStringLiteral("59"));
    MaskEditName = edit(p, "MaskEditName", 0);
    MaskEditQth = edit(p, "MaskEditQth", 0);
    ComboBoxBand = Ui::editableCombo(p, "ComboBoxBand", bandKeys(), QStringLiteral("14"));
    ComboBoxMode = Ui::editableCombo(p, "ComboBoxMode", modeTexts(), QStringLiteral("SSB"));
    MaskEditDate = edit(p, "MaskEditDate", 0);
    MaskEditDate->setInputMask(QStringLiteral("99.99.9999; "));
    MaskEditTime = edit(p, "MaskEditTime", 0);
    MaskEditTime->setInputMask(QStringLiteral("99:99:99; "));
    MaskEditQslTx = edit(p, "MaskEditQslTx", 12);
    MaskEditQslRx = edit(p, "MaskEditQslRx", 12);
    Edit2 = new QLineEdit(p);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit3 = new QLineEdit(p);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setReadOnly(true);
    EditNmTx = edit(p, "EditNmTx", 10);
    EditNmTx->setText(QStringLiteral("001"));
    EditNmTx->hide();
    EditNmRx = edit(p, "EditNmRx", 10);
    EditNmRx->setText(QStringLiteral("001"));
    EditNmRx->hide();
    MemoNot = new QPlainTextEdit(p);
    MemoNot->setObjectName(QStringLiteral("MemoNot"));
    CheckBoxNot = new QCheckBox(p);
    CheckBoxNot->setObjectName(QStringLiteral("CheckBoxNot"));
    CheckBoxTime = new QCheckBox(QStringLiteral("Real"), p);
    CheckBoxTime->setObjectName(QStringLiteral("CheckBoxTime"));
    CheckBoxTime->setChecked(true);
    EditDir = new QLineEdit(p);
    EditDir->setObjectName(QStringLiteral("EditDir"));
    EditDir->hide();
    EditIf = new QLineEdit(p);
    EditIf->setObjectName(QStringLiteral("EditIf"));
    EditIf->hide();

    Label3 = label(p, "Label3", QStringLiteral("RST Tx"));
    Label4 = label(p, "Label4", QStringLiteral("Rx"));
    Label5 = label(p, "Label5", QStringLiteral("Name"));
    Label6 = label(p, "Label6", QStringLiteral("Location"));
    Label13 = label(p, "Label13", QStringLiteral("Notepad"));
    Label32 = label(p, "Label32", QStringLiteral("Ident Tx"));
    Label32->hide();
    Label33 = label(p, "Label33", QStringLiteral("Rx"));
    Label33->hide();
    Label23 = label(p, "Label23", QStringLiteral("New"));
    Label23->hide();
    Label24 = label(p, "Label24", QStringLiteral("Save"));
    Label24->hide();

    ButtonSave = button(p, "ButtonSave", QStringLiteral("Save"));
    ButtonEdit = button(p, "ButtonEdit", QStringLiteral("Edit"));
    ButtonClear = button(p, "ButtonClear", QStringLiteral("Clear"));
    ButExt2 = button(p, "ButExt2", QStringLiteral("Ext2"), false);
    ButExt3 = button(p, "ButExt3", QStringLiteral("Ext3"), false);
    ButtonFind = button(p, "ButtonFind", QStringLiteral("Int"));
    ButtonExt = button(p, "ButtonExt", QStringLiteral("Ext"));
    ButtonQ = button(p, "ButtonQ", QStringLiteral("Q"), false);
    ButtonRe = button(p, "ButtonRe", QStringLiteral("Rec"));
    ButtonPl = button(p, "ButtonPl", QStringLiteral("Play"));
    ButtonCq = button(p, "ButtonCq", QStringLiteral("CQ"));

    auto *g = new QGridLayout(p);
    g->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    g->addWidget(label(p, "LabelCall", QStringLiteral("Callsign")), row, 0);
    g->addWidget(MaskEditCall, row, 1, 1, 3);
    g->addWidget(label(p, "LabelBand", QStringLiteral("Band")), row, 4);
    g->addWidget(ComboBoxBand, row, 5);
    ++row;
    g->addWidget(Label3, row, 0);
    g->addWidget(MaskEditRstTx, row, 1);
    g->addWidget(Label4, row, 2);
    g->addWidget(MaskEditRstRx, row, 3);
    g->addWidget(label(p, "LabelMode", QStringLiteral("Mode")), row, 4);
    g->addWidget(ComboBoxMode, row, 5);
    ++row;
    g->addWidget(Label5, row, 0);
    g->addWidget(MaskEditName, row, 1, 1, 3);
    g->addWidget(label(p, "LabelDate", QStringLiteral("Date")), row, 4);
    g->addWidget(MaskEditDate, row, 5);
    ++row;
    g->addWidget(Label6, row, 0);
    g->addWidget(MaskEditQth, row, 1, 1, 3);
    g->addWidget(label(p, "LabelTime", QStringLiteral("Time")), row, 4);
    g->addWidget(MaskEditTime, row, 5);
    ++row;
    g->addWidget(Label32, row, 0);
    g->addWidget(EditNmTx, row, 1);
    g->addWidget(Label33, row, 2);
    g->addWidget(EditNmRx, row, 3);
    g->addWidget(CheckBoxTime, row, 5);
    ++row;
    g->addWidget(label(p, "LabelQslTx", QStringLiteral("QSL Send")), row, 0);
    // The browsed row's QSL texts lie over the entry fields until clicked.
    g->addWidget(MaskEditQslTx, row, 1);
    g->addWidget(Edit2, row, 1);
    g->addWidget(label(p, "LabelQslRx", QStringLiteral("QSL Rcvd")), row, 2);
    g->addWidget(MaskEditQslRx, row, 3);
    g->addWidget(Edit3, row, 3);
    ++row;
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {ButtonSave, ButtonEdit, ButtonClear, ButtonFind, ButtonExt, ButtonRe, ButtonPl, ButtonCq})
        buttons->addWidget(b);
    g->addLayout(buttons, row, 0, 1, 6);
    ++row;
    g->addWidget(Label13, row, 0);
    g->addWidget(CheckBoxNot, row, 1, 1, 2);
    ++row;
    g->addWidget(MemoNot, row, 0, 1, 6);
    MemoNot->setFixedHeight(notepadHeight);
}

void TForm3::buildInfo()
{
    GroupBoxInfo = new QGroupBox(QStringLiteral("Info"), centralWidget());
    GroupBoxInfo->setObjectName(QStringLiteral("GroupBoxInfo"));
    QWidget *p = GroupBoxInfo;
    LabelPref = label(p, "LabelPref", QStringLiteral("Rref"));
    LabelCount = label(p, "LabelCount", QStringLiteral("Country"));
    Label26 = label(p, "Label26", QStringLiteral("*"));
    Ui::setFontColor(Label26, grey);
    Label_ZCQ = label(p, "Label_ZCQ", QStringLiteral("00"));
    Label_ZITU = label(p, "Label_ZITU", QStringLiteral("00"));
    LabelCont = label(p, "LabelCont", QStringLiteral("NO"));
    LabelDist = label(p, "LabelDist", QStringLiteral("00000"));
    LabelAz = label(p, "LabelAz", QStringLiteral("000"));
    LabelAzO = label(p, "LabelAzO", QStringLiteral("000"));
    LabelDiff = label(p, "LabelDiff", QStringLiteral("00:00"));
    Label18 = label(p, "Label18", QStringLiteral("1.8 3.5 7.0 10 14 18 21 24 28 50 S"));
    Labelin18 = label(p, "Labelin18", QStringLiteral("*"));
    Labelin35 = label(p, "Labelin35", QStringLiteral("*"));
    Labelin7 = label(p, "Labelin7", QStringLiteral("*"));
    LabelIn10 = label(p, "LabelIn10", QStringLiteral("*"));
    LabelIn14 = label(p, "LabelIn14", QStringLiteral("*"));
    LabelIn180 = label(p, "LabelIn180", QStringLiteral("*"));
    LabelIn21 = label(p, "LabelIn21", QStringLiteral("*"));
    LabelIn24 = label(p, "LabelIn24", QStringLiteral("*"));
    LabelIn28 = label(p, "LabelIn28", QStringLiteral("*"));
    LabelIn50 = label(p, "LabelIn50", QStringLiteral("*"));
    LabelInS = label(p, "LabelInS", QStringLiteral("*"));
    Label19 = label(p, "Label19", QStringLiteral("DXCC Mixed"));
    LabelH = label(p, "LabelH", QStringLiteral("00"));
    LabelM = label(p, "LabelM", QStringLiteral("00"));
    LabelS = label(p, "LabelS", QStringLiteral("00"));
    auto *hints = new HintRows(p);
    hints->setObjectName(QStringLiteral("PanelHints"));
    LabelPw = label(hints, "LabelPw", QStringLiteral("Territory exists"));
    LabelPw->hide();
    LabelPw1 = label(hints, "LabelPw1", QStringLiteral("Last QSO at  00:00:01"));
    LabelPw1->hide();
    hints->fitRows();
    Label30 = label(p, "Label30", QStringLiteral("S"));
    QFont bold = Label30->font();
    bold.setBold(true);
    Label30->setFont(bold);
    Ui::setFontColor(Label30, grey);
    Label30->hide();
    Label31 = label(p, "Label31", QStringLiteral("A"));
    Label31->hide();

    auto *g = new QGridLayout(p);
    g->addWidget(label(p, "LabelPrefCaption", QStringLiteral("Prefix")), 0, 0);
    g->addWidget(LabelPref, 0, 1);
    g->addWidget(LabelCont, 0, 2);
    g->addWidget(LabelCount, 1, 0, 1, 3);
    g->addWidget(Label26, 1, 3);
    g->addWidget(label(p, "LabelZones", QStringLiteral("CQ / ITU")), 2, 0);
    g->addWidget(Label_ZCQ, 2, 1);
    g->addWidget(Label_ZITU, 2, 2);
    g->addWidget(label(p, "LabelDistCaption", QStringLiteral("km")), 3, 0);
    g->addWidget(LabelDist, 3, 1);
    g->addWidget(label(p, "LabelAzCaption", QStringLiteral("Az")), 4, 0);
    g->addWidget(LabelAz, 4, 1);
    g->addWidget(LabelAzO, 4, 2);
    g->addWidget(label(p, "LabelDiffCaption", QStringLiteral("Local")), 5, 0);
    g->addWidget(LabelDiff, 5, 1);
    // Each indicator stands in the column of its own band caption (the words
    // of Label18), large enough that its colour reads at a glance.
    Label18->hide();
    auto *indicators = new QGridLayout;
    indicators->setHorizontalSpacing(2);
    const QStringList captions = Label18->text().split(u' ');
    QLabel *const marks[] = {Labelin18, Labelin35, Labelin7, LabelIn10, LabelIn14, LabelIn180,
                             LabelIn21, LabelIn24, LabelIn28, LabelIn50, LabelInS};
    QFont large = Labelin18->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.8);
    for (int i = 0; i < int(std::size(marks)); ++i) {
        auto *caption = label(p, "", captions.value(i));
        caption->setObjectName(QStringLiteral("Label18_%1").arg(i));
        caption->setAlignment(Qt::AlignCenter);
        indicators->addWidget(caption, 0, i);
        marks[i]->setFont(large);
        marks[i]->setAlignment(Qt::AlignCenter);
        Ui::setFontColor(marks[i], grey);
        indicators->addWidget(marks[i], 1, i);
    }
    g->addLayout(indicators, 6, 0, 2, 4);
    g->addWidget(Label19, 8, 0, 1, 4);
    auto *watch = new QHBoxLayout;
    watch->addWidget(label(p, "LabelTimer", QStringLiteral("Timer")));
    for (QLabel *l : {LabelH, LabelM, LabelS})
        watch->addWidget(l);
    watch->addWidget(Label30);
    watch->addWidget(Label31);
    g->addLayout(watch, 9, 0, 1, 4);
    g->addWidget(hints, 10, 0, 1, 4);
}

void TForm3::buildLogView()
{
    DBGridLog = new Db::DbGrid(centralWidget());
    DBGridLog->setObjectName(QStringLiteral("DBGridLog"));
    DBGridLog->setScrollsSideways(true);
    Total = label(centralWidget(), "Total", QString());
    Label35 = label(centralWidget(), "Label35", QString());
}

void TForm3::bindLogGrid()
{
    DBGridLog->setDataSource(&DM->DataSource1);
    DBGridLogDrawDataCell();
}

void TForm3::connectHandlers()
{
    Ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    wireClock();
    Ui::connectGuarded(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
    Ui::connectGuarded(CheckBoxNot, &QCheckBox::toggled, this, [this](bool) { CheckBoxNotClick(); });
    Ui::connectGuarded(ButtonSave, &QPushButton::clicked, this, [this] { ButtonSaveClick(); });
    Ui::connectGuarded(ButtonEdit, &QPushButton::clicked, this, [this] { ButtonEditClick(); });
    for (QLineEdit *overlay : {Edit2, Edit3}) {
        overlay->installEventFilter(new Ui::GuardedEventFilter(
            [this, overlay](QObject *, QEvent *event) {
                if (event->type() == QEvent::MouseButtonPress)
                    overlay == Edit2 ? Edit2Click() : Edit3Click();
                return false;
            },
            this));
    }
    Ui::connectGuarded(MaskEditCall, &QLineEdit::textChanged, this, [this](const QString &) { MaskEditCallChange(); });
    MaskEditCall->installEventFilter(new Ui::GuardedEventFilter(
        [this](QObject *, QEvent *event) {
            return event->type() == QEvent::KeyPress && MaskEditCallKeyPress(static_cast<QKeyEvent *>(event));
        },
        this));
    Ui::connectGuarded(MaskEditName, &QLineEdit::textChanged, this, [this](const QString &) { MaskEditNameChange(); });
    Ui::connectGuarded(MaskEditQth, &QLineEdit::textChanged, this, [this](const QString &) { MaskEditQthChange(); });
    // The notepad keeps at most 238 characters, as the log's memo row does.
    Ui::connectGuarded(MemoNot, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = MemoNot->toPlainText();
        if (text.size() > notepadLimit)
            MemoNot->setPlainText(text.left(notepadLimit));
    });
    connectLookupsAndLogView();
    connectKeysAndStopwatch();
    connectLogItems();
    connectContest();
    connectStation();
}

// ------------------------------------------------------------------ handlers

void TForm3::FormCreate()
{
    MaskEditCall->setFocus();
}

void TForm3::FormClose()
{
    // Leaving the program puts the transmitter back to receive.
    if (FCW)
        FCW->releaseLines();
}

void TForm3::FormActivate()
{
    if (Label23->text() != QLatin1String("New"))
        return;
    Label23->setText(QStringLiteral("Old"));
    // Its activation reads the settings and starts the start-up timer. Shown
    // for a moment only, by the program, it leaves the keyboard with the main
    // window.
    Config->showWindow();
    MemoNot->setFixedHeight(0);
    MaskEditCall->setFocusPolicy(Qt::StrongFocus);
    showAddItems();
    if (Config->CheckBoxVCD->isChecked()) {
        DM->Database8.close();
        DM->Database8.setParams({QStringLiteral("PATH=") + Config->EditVCD->text()});
        DM->Database8.open();
        DM->Table8.open();
        DM->Table8.setIndexName(QStringLiteral("ByCallSign"));
        DM->Table8.first();
    }
}

void TForm3::Timer2Timer()
{
    if (Label23->text() != QLatin1String("Old"))
        return;
    Config->makeInvisible();
    Label23->setText(QStringLiteral("vse"));
    Timer2->stop();
    // Award tables a killed walk left behind the log are made up before the
    // operator logs a contact against them.
    AwDx->catchUp();
    checkLog();
    // Bring the main window back in front of where the settings window was.
    raise();
    activateWindow();
}

void TForm3::checkLog()
{
    if (DM->Table1.isActive())
        logCheck_->start(DM->Table1.filePath());
}

void TForm3::CheckBoxNotClick()
{
    MemoNot->setFixedHeight(CheckBoxNot->isChecked() ? notepadHeight : 0);
}

void TForm3::AwrdDxccClick() { AwDx->showModal(); }
void TForm3::Refresh1Click() { AwDx->Button3->click(); }
void TForm3::Configuration1Click() { Config->showModal(); }
void TForm3::OptionContestClick() { ContConf->showModal(); }
void TForm3::QSLlabelConfig1Click() { Flabel->showModal(); }
void TForm3::ExitOptions1Click() { FVihod->showModal(); }
void TForm3::ViewFilterClick() { Filter->showModal(); }
void TForm3::ViewCallsignalClick() { FiltCal->showWindow(); }
void TForm3::CW1Click() { FCW->showWindow(); }
void TForm3::DXCluster1Click() { FDX_Cluster->showWindow(); }
void TForm3::Callbook1Click() { QRZ->showWindow(); }
void TForm3::Skeds1Click() { FSkeds->showModal(); }
void TForm3::Cabrillo1Click() { FCabrillo->showModal(); }
void TForm3::LogExitClick() { closeWindow(); }
void TForm3::About1Click() { AboutBox->showModal(); }
void TForm3::ExitWindows1Click() { Shell::requestShutdown(); }
void TForm3::Images1Click() { showImagesWindow(); }
void TForm3::UtilPackClick() { showPackWindow(); }
void TForm3::SoundTimerClick() { FoTimer->showPage(TFoTimer::TimeRecPage); }
void TForm3::SoundAlarmClick() { FoTimer->showPage(TFoTimer::AlarmPage); }
void TForm3::Help2Click() { Shell::openHelp(EditDir->text(), QStringLiteral("Tnl.html"), QString()); }
void TForm3::IOTA1Click() { FIota->showWindow(); }
void TForm3::WAS1Click() { FWas->showWindow(); }
void TForm3::Diplom11Click() { FDipA->showWindow(); }
void TForm3::Diplom21Click() { FDipB->showWindow(); }


void TForm3::AutoViewImages1Click()
{
    AutoViewImages1->setChecked(!AutoViewImages1->isChecked());
}

void TForm3::VCD1Click()
{
    if (Config->CheckBoxVCD->isChecked())
        VCD->showWindow();
    else
        Ui::showWarning(QStringLiteral("VCD is not connected !"));
}
