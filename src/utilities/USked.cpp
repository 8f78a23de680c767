#include "utilities/USked.h"

#include "core/SettingsFile.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QScopedValueRollback>

TFSkeds *FSkeds = nullptr;

namespace {
QString skedPath()
{
    return QDir(Form3->EditDir->text()).filePath(QString::fromLatin1(SkedFile::fileName));
}
} // namespace

TFSkeds::TFSkeds() : Ui::Window(QStringLiteral("FSkeds"), QStringLiteral("Skeds"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *grid = new QGridLayout(central);
    auto *systemTime = Ui::label(QStringLiteral("System Time"), central);
    grid->addWidget(systemTime, 0, 0, 1, 4);
    // The lamps are put out as well as lit, which an exclusive group refuses.
    auto *lamps = new QButtonGroup(this);
    lamps->setExclusive(false);
    const SkedFile::Row unset = SkedFile::unsetRow(MainClock::now().date());
    for (int k = 0; k < SkedFile::rowCount; ++k) {
        const QString n = QString::number(k + 1);
        DateEdit[k] = new QDateEdit(unset.date, central);
        DateEdit[k]->setObjectName(QStringLiteral("DateEdit") + n);
        DateEdit[k]->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        DateEdit[k]->setCalendarPopup(true);
        DateTimePicker[k] = new QTimeEdit(unset.time, central);
        DateTimePicker[k]->setObjectName(QStringLiteral("DateTimePicker") + n);
        DateTimePicker[k]->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        Edit[k] = new QLineEdit(central);
        Edit[k]->setObjectName(QStringLiteral("Edit") + n);
        AbLED[k] = new QRadioButton(central);
        AbLED[k]->setObjectName(QStringLiteral("AbLED") + n);
        AbLED[k]->setAutoExclusive(false);
        lamps->addButton(AbLED[k]);
        grid->addWidget(AbLED[k], k + 1, 0);
        grid->addWidget(DateEdit[k], k + 1, 1);
        grid->addWidget(DateTimePicker[k], k + 1, 2);
        grid->addWidget(Edit[k], k + 1, 3);
    }
    Button1 = new QPushButton(QStringLiteral("Close"), central);
    Button1->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(Button1, SkedFile::rowCount + 1, 3);
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    // Runs from creation whether the window is shown or not.
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    reference_.reset(MainClock::now());
    Timer1->start();
}

SkedFile::Rows TFSkeds::rows() const
{
    SkedFile::Rows rows;
    for (int k = 0; k < SkedFile::rowCount; ++k)
        rows[k] = {DateEdit[k]->date(), DateTimePicker[k]->time(), Edit[k]->text()};
    return rows;
}

void TFSkeds::setRows(const SkedFile::Rows &rows)
{
    for (int k = 0; k < SkedFile::rowCount; ++k) {
        DateEdit[k]->setDate(rows[k].date);
        DateTimePicker[k]->setTime(rows[k].time);
        Edit[k]->setText(rows[k].text);
    }
}

void TFSkeds::readFile()
{
    if (!QFileInfo::exists(skedPath()))
        return;
    const SkedFile::Reading reading = SkedFile::parse(SettingsFile::readFile(skedPath()), rows());
    setRows(reading.rows);
    if (!reading.problem.isEmpty())
        Ui::showError(reading.problem);
}

void TFSkeds::FormCreate() { readFile(); }

void TFSkeds::FormActivate() { readFile(); }

void TFSkeds::FormClose()
{
    SettingsFile::writeFile(skedPath(), SkedFile::compose(rows()));
}

void TFSkeds::Button1Click() { closeWindow(); }

void TFSkeds::Timer1Timer()
{
    const QDateTime now = MainClock::now();
    const SkedFile::Rows current = rows();
    const int lit = SkedFile::litLamp(current, now.date());
    for (int k = 0; k < SkedFile::rowCount; ++k)
        AbLED[k]->setChecked(k == lit);

    // While a box is open the ticks wait; the next one after it covers
    // what passed meanwhile.
    if (showing_)
        return;
    const std::optional<MainClock::Span> span = reference_.advance(now);
    if (!span)
        return;
    QScopedValueRollback<bool> showing(showing_, true);
    for (int k : SkedFile::dueRows(current, *span))
        Ui::showInformation(SkedFile::boxText(current[k]));
}
