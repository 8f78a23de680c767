#include "station/UMixW.h"

#include "core/RecordBrowsing.h"
#include "core/SettingsFile.h"
#include "core/UConf.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "station/FUpdate.h"
#include "station/MixwLog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

TMixT *MixT = nullptr;

namespace {

QLineEdit *field(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    return e;
}

// The date and time of the entry first, as the save stores them.
void fillEntry(const MixwLog::Contact &c, const QString &notes)
{
    Form3->MaskEditDate->setText(c.date);
    Form3->MaskEditTime->setText(c.time);
    Form3->MaskEditCall->setText(c.call);
    Form3->ComboBoxBand->setCurrentText(c.band);
    Form3->ComboBoxMode->setCurrentText(c.mode);
    Form3->MaskEditRstRx->setText(c.rstRx);
    Form3->MaskEditRstTx->setText(c.rstTx);
    Form3->MaskEditName->setText(c.name);
    Form3->MaskEditQth->setText(c.qth);
    Form3->MemoNot->setPlainText(notes);
    // The chain as leaving the callsign field runs it, its end included, and
    // as the program's own work: its windows leave the keyboard where it is.
    Ui::runGuarded([] { Form3->MaskEditCallExit(); });
}

} // namespace

TMixT::TMixT() : Ui::Window(QStringLiteral("MixT"), QStringLiteral("MixT"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    Edit1 = field(central, "Edit1");
    Edit2 = field(central, "Edit2");
    Edit2->hide();
    Edit3 = field(central, "Edit3");
    Edit4 = field(central, "Edit4");
    Edit5 = field(central, "Edit5");
    Edit6 = field(central, "Edit6");
    Edit7 = field(central, "Edit7");
    Edit8 = field(central, "Edit8");
    Edit9 = field(central, "Edit9");
    Edit9->hide();
    DateTimePicker1 = new QDateEdit(central);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateTimePicker2 = new QTimeEdit(central);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker2->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    Memo1 = new QPlainTextEdit(central);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    form->addRow(Ui::label(QStringLiteral("Call"), nullptr), Edit1);
    form->addRow(Ui::label(QStringLiteral("Band"), nullptr), Edit3);
    form->addRow(Ui::label(QStringLiteral("Mode"), nullptr), Edit4);
    form->addRow(Ui::label(QStringLiteral("Tx RST"), nullptr), Edit6);
    form->addRow(Ui::label(QStringLiteral("Rx RST"), nullptr), Edit5);
    form->addRow(Ui::label(QStringLiteral("Name"), nullptr), Edit7);
    form->addRow(Ui::label(QStringLiteral("QTH"), nullptr), Edit8);
    form->addRow(Ui::label(QStringLiteral("Date"), nullptr), DateTimePicker1);
    form->addRow(Ui::label(QStringLiteral("Time"), nullptr), DateTimePicker2);
    form->addRow(Ui::label(QStringLiteral("Notepad"), nullptr), Memo1);
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    Button1 = new QPushButton(QStringLiteral("Save"), central);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Clear"), central);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button4 = new QPushButton(QStringLiteral("-Update-"), central);
    Button4->setObjectName(QStringLiteral("Button4"));
    for (QPushButton *b : {Button1, Button2, Button4})
        buttons->addWidget(b);

    QMenu *options = menuBar()->addMenu(QStringLiteral("Options"));
    auto item = [this, options](const char *name, const QString &caption, void (TMixT::*handler)()) {
        auto *i = new Ui::MenuItem(QString::fromLatin1(name), caption, this);
        i->setHandler([this, handler] { (this->*handler)(); });
        options->addAction(i);
        return i;
    };
    StopUpdate1 = item("StopUpdate1", QStringLiteral("Stop Update"), &TMixT::StopUpdate1Click);
    StartUpdate1 = item("StartUpdate1", QStringLiteral("Start Update"), &TMixT::StartUpdate1Click);
    StopUpdate1->setGroup(&GroupUpdate);
    StartUpdate1->setGroup(&GroupUpdate);
    StartUpdate1->setChecked(true);
    options->addSeparator();
    UpdateTime1 = item("UpdateTime1", QStringLiteral("Update Timer"), &TMixT::UpdateTime1Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(20000);

    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    Ui::connectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    Ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TMixT::FormClose()
{
    Form3->showNormal();
    Timer1->stop();
    Form3->CheckBoxTime->setChecked(true);
}

void TMixT::Button1Click()
{
    Form3->ButtonSaveClick();
}

void TMixT::Button2Click()
{
    for (QLineEdit *e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9})
        e->clear();
    Memo1->clear();
}

void TMixT::Button4Click()
{
    Timer1->start();
    takeOver(Way::Button);
}

void TMixT::Timer1Timer()
{
    takeOver(Way::Poll);
}

void TMixT::takeOverFromMenu()
{
    takeOver(Way::Menu);
}

void TMixT::StopUpdate1Click()
{
    Timer1->stop();
    StopUpdate1->setChecked(true);
}

void TMixT::StartUpdate1Click()
{
    StartUpdate1->setChecked(true);
    Timer1->start();
}

void TMixT::UpdateTime1Click()
{
    Timer1->stop();
    FUpdate->showModal();
}

void TMixT::takeOver(Way way)
{
    // Taking over in edit mode would overwrite the loaded contact.
    if (RecordBrowsing::editMode(Form3->ButtonEdit->text()))
        return;
    QString text;
    try {
        text = SettingsFile::readFile(Config->EditPr9->text());
    } catch (const std::runtime_error &e) {
        // Once: the poll stops with it, before the box lets the timer fire.
        StopUpdate1Click();
        Ui::showError(QString::fromStdString(e.what()));
        return;
    }
    // The menu's contact brings its own date and time, so the clock stops,
    // but only once there is a contact: after a failed read it keeps the
    // entry time current.
    if (way == Way::Menu)
        Form3->CheckBoxTime->setChecked(false);
    const QString line = MixwLog::lastLine(text);
    if (way == Way::Poll && line == lastTaken_)
        return;
    lastTaken_ = line;
    const MixwLog::Contact c = MixwLog::parse(line);
    if (way == Way::Menu) {
        fillEntry(c, c.notes);
        return;
    }
    if (fillLinkWindow(c, way))
        fillEntry(c, Memo1->toPlainText());
}

bool TMixT::fillLinkWindow(const MixwLog::Contact &c, Way way)
{
    Edit1->setText(c.call);
    Edit2->setText(c.stamp);
    Edit3->setText(c.band);
    Edit4->setText(c.mode);
    Edit5->setText(c.rstRx);
    Edit6->setText(c.rstTx);
    Edit7->setText(c.name);
    Edit8->setText(c.qth);
    Memo1->setPlainText(c.notes + QLatin1Char('\n') + (way == Way::Poll ? c.line2 : QString()));
    Edit9->setText(c.extra);
    if (c.stamp.isEmpty())
        return true;
    const QDate date = QDate::fromString(c.date, QStringLiteral("dd.MM.yyyy"));
    const QTime time = QTime::fromString(c.time, QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid()) {
        Ui::showError(QStringLiteral("'%1' is not a valid date and time").arg(c.stamp));
        return false;
    }
    DateTimePicker1->setDate(date);
    DateTimePicker2->setTime(time);
    return true;
}
