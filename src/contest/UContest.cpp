#include "contest/UContest.h"

#include "contest/ContestFile.h"
#include "core/BandsAndModes.h"
#include "core/SettingsFile.h"
#include "core/UConf.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

TContConf *ContConf = nullptr;

namespace {

// Bands that score nothing unless the operator sets points.
bool scoresByDefault(const Band &band)
{
    for (const char *token : {"10", "180", "24", "50"})
        if (band.token == QLatin1StringView(token))
            return false;
    return true;
}

struct ModeColumn {
    const char *suffix;
    const char *label;
    const char *points; // default on a scoring band
};

constexpr ModeColumn modeColumns[] = {{"", "CW", "3"}, {"s", "SSB", "1"}, {"r", "RTTY", "3"}, {"o", "Other", "3"}};

const QString iniName = QStringLiteral("Contest.ini");
const QString namesFile = QStringLiteral("ContName.tnr");
const QString extension = QStringLiteral(".tst");

} // namespace

TUpDown::TUpDown(const QString &objectName, QWidget *parent) : QWidget(parent)
{
    setObjectName(objectName);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int direction : {1, -1}) {
        auto *arrow = new QToolButton(this);
        arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFixedSize(16, 10);
        arrow->setAutoRepeat(true);
        Ui::connectGuarded(arrow, &QToolButton::clicked, this, [this, direction] { click(direction); });
        layout->addWidget(arrow);
    }
}

void TUpDown::click(int direction)
{
    emit clicked(direction);
}

TContConf::TContConf() : Ui::Window(QStringLiteral("ContConf"), QStringLiteral("Contest Configuration"))
{
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);

    ComboBox1 = new QComboBox(central);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    layout->addWidget(ComboBox1);

    auto *columns = new QHBoxLayout;
    layout->addLayout(columns);
    auto *pointsBox = new QGroupBox(QStringLiteral(" Multiplier for QSO "), central);
    auto *grid = new QGridLayout(pointsBox);
    for (int c = 0; c < 4; ++c)
        grid->addWidget(Ui::label(QString::fromLatin1(modeColumns[c].label), pointsBox), 0, c + 1);
    int row = 1;
    for (const Band &band : bands()) {
        const QString label = band.token == QLatin1StringView("Sat") ? QString(band.token) : QString(band.key);
        grid->addWidget(Ui::label(label, pointsBox), row, 0);
        for (int c = 0; c < 4; ++c) {
            const QString suffix = QString(band.token) + QString::fromLatin1(modeColumns[c].suffix);
            const QString name = QStringLiteral("Point") + suffix;
            auto *cell = new QWidget(pointsBox);
            auto *cellLayout = new QHBoxLayout(cell);
            cellLayout->setContentsMargins(0, 0, 0, 0);
            cellLayout->setSpacing(0);
            auto *edit = new Ui::MaskEdit(name, cell);
            edit->setText(scoresByDefault(band) ? QString::fromLatin1(modeColumns[c].points) : QStringLiteral("0"));
            edit->setReadOnly(true);
            edit->setMaximumWidth(40);
            auto *arrows = new TUpDown(QStringLiteral("UpDown") + suffix, cell);
            connect(arrows, &TUpDown::clicked, this, [this, name](int direction) {
                Ui::runGuarded([&] { PointUpDownClick(name, direction); });
            });
            cellLayout->addWidget(edit);
            cellLayout->addWidget(arrows);
            grid->addWidget(cell, row, c + 1);
            points_.insert(name, edit);
            upDowns_.insert(arrows->objectName(), arrows);
        }
        ++row;
    }
    columns->addWidget(pointsBox);

    auto *side = new QVBoxLayout;
    columns->addLayout(side);
    RadioGroup1 = new Ui::RadioGroupBox(QStringLiteral("RadioGroup1"), QStringLiteral(" Info "),
                                        {QStringLiteral("DXCC"), QStringLiteral("WAZ"), QStringLiteral("Ukraine"),
                                         QStringLiteral("Russia")},
                                        central);
    RadioGroup1->setItemIndex(0);
    side->addWidget(RadioGroup1);

    auto *form = new QFormLayout;
    side->addLayout(form);
    SPoint = new QSpinBox(central);
    SPoint->setObjectName(QStringLiteral("SPoint"));
    SPoint->setRange(1, 1000);
    SPoint->setValue(1);
    form->addRow(Ui::label(QStringLiteral("Initial number for QSO"), nullptr), SPoint);
    Label22 = Ui::label(QStringLiteral("Sent"), central);
    Label22->setObjectName(QStringLiteral("Label22"));
    EditSen = new Ui::MaskEdit(QStringLiteral("EditSen"), central);
    EditSen->setText(QStringLiteral("001"));
    form->addRow(Label22, EditSen);
    CheckBoxSen = new QCheckBox(QStringLiteral("Add to"), central);
    CheckBoxSen->setObjectName(QStringLiteral("CheckBoxSen"));
    Label21 = Ui::label(QStringLiteral("+"), central);
    Label21->setObjectName(QStringLiteral("Label21"));
    MaskEdit1 = new Ui::MaskEdit(QStringLiteral("MaskEdit1"), central);
    MaskEdit1->setText(QStringLiteral("1"));
    MaskEdit1->setReadOnly(true);
    UpDown1 = new TUpDown(QStringLiteral("UpDown1"), central);
    auto *step = new QHBoxLayout;
    step->addWidget(Label21);
    step->addWidget(MaskEdit1);
    step->addWidget(UpDown1);
    form->addRow(CheckBoxSen, step);
    CheckBox3 = new QCheckBox(central);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    form->addRow(Ui::label(QStringLiteral("Start Contest (LogTime)"), nullptr), CheckBox3);
    DatePicker1 = new QDateEdit(QDate::currentDate(), central);
    DatePicker1->setObjectName(QStringLiteral("DatePicker1"));
    TimePicker1 = new QTimeEdit(QTime(0, 0), central);
    TimePicker1->setObjectName(QStringLiteral("TimePicker1"));
    DatePicker2 = new QDateEdit(QDate::currentDate(), central);
    DatePicker2->setObjectName(QStringLiteral("DatePicker2"));
    TimePicker2 = new QTimeEdit(QTime(0, 0), central);
    TimePicker2->setObjectName(QStringLiteral("TimePicker2"));
    for (QDateTimeEdit *e : {static_cast<QDateTimeEdit *>(DatePicker1), static_cast<QDateTimeEdit *>(DatePicker2)})
        e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    for (QDateTimeEdit *e : {static_cast<QDateTimeEdit *>(TimePicker1), static_cast<QDateTimeEdit *>(TimePicker2)})
        e->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    form->addRow(DatePicker1, TimePicker1);
    form->addRow(Ui::label(QStringLiteral("Stop Contest"), nullptr), new QWidget(central));
    form->addRow(DatePicker2, TimePicker2);

    CheckBox1 = new QCheckBox(central);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("Ch2"), central);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    Label19 = Ui::label(QStringLiteral("To fix repetitions on other bands."), central);
    Label19->setObjectName(QStringLiteral("Label19"));
    for (QWidget *hidden : {static_cast<QWidget *>(CheckBox1), static_cast<QWidget *>(CheckBox2),
                            static_cast<QWidget *>(Label19)})
        hidden->hide();

    auto *buttons = new QHBoxLayout;
    ButtonSav = new QPushButton(QStringLiteral("Save"), central);
    ButtonSav->setObjectName(QStringLiteral("ButtonSav"));
    ButtonOp = new QPushButton(QStringLiteral("Load"), central);
    ButtonOp->setObjectName(QStringLiteral("ButtonOp"));
    ButtonCl = new QPushButton(QStringLiteral("Close"), central);
    ButtonCl->setObjectName(QStringLiteral("ButtonCl"));
    for (QPushButton *b : {ButtonSav, ButtonOp, ButtonCl})
        buttons->addWidget(b);
    side->addLayout(buttons);
    side->addStretch();

    Ui::connectGuarded(ButtonSav, &QPushButton::clicked, this, [this] { ButtonSavClick(); });
    Ui::connectGuarded(ButtonOp, &QPushButton::clicked, this, [this] { ButtonOpClick(); });
    Ui::connectGuarded(ButtonCl, &QPushButton::clicked, this, [this] { ButtonClClick(); });
    Ui::connectGuarded(CheckBoxSen, &QCheckBox::toggled, this, [this] { CheckBoxSenClick(); });
    Ui::connectGuarded(UpDown1, &TUpDown::clicked, this, [this](int direction) { UpDown1Click(direction); });
    Label22->installEventFilter(new Ui::GuardedEventFilter(
        [this](QObject *, QEvent *event) {
            if (event->type() != QEvent::MouseButtonDblClick)
                return false;
            Label22DblClick();
            return true;
        },
        this));
    CheckBoxSenClick(); // the step shows only with "Add to"
}

QLineEdit *TContConf::point(const QString &name) const
{
    return points_.value(name);
}

TUpDown *TContConf::upDown(const QString &name) const
{
    return name == QLatin1String("UpDown1") ? UpDown1 : upDowns_.value(name);
}

QString TContConf::iniPath() const
{
    const QString dir = Config ? Config->programDirectory() : QDir::currentPath();
    return QDir(dir).filePath(iniName);
}

void TContConf::FormCreate()
{
    if (QFileInfo::exists(iniPath()))
        readFile(iniPath());
    const QString names = QDir(QFileInfo(iniPath()).path()).filePath(namesFile);
    if (QFileInfo::exists(names)) {
        const QString name = ComboBox1->currentText();
        ComboBox1->addItems(ContestFile::contestNames(SettingsFile::readFile(names)));
        ComboBox1->setCurrentText(name);
    }
}

// Every closing, whichever way, keeps the window's state for the next run.
void TContConf::FormClose()
{
    writeFile(iniPath());
}

void TContConf::ButtonSavClick()
{
    const QString chosen = Ui::saveFileName({QStringLiteral("Save As"), QStringLiteral("Contest Config (*.tst);;All (*.*)"),
                                             Config->programDirectory(), QString(), QString()});
    if (chosen.isEmpty())
        return;
    writeFile(ContestFile::withExtension(QDir(Config->programDirectory()).absoluteFilePath(chosen), extension));
}

void TContConf::ButtonOpClick()
{
    const QString chosen =
        Ui::openFileName({QStringLiteral("Open"), QStringLiteral("Contest Config  (*.tst);;All (*.*)"),
                          Config->programDirectory(), QString(), QString()});
    if (chosen.isEmpty())
        return;
    readFile(QDir(Config->programDirectory()).absoluteFilePath(chosen));
}

void TContConf::CheckBoxSenClick()
{
    const bool addTo = CheckBoxSen->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(Label21), static_cast<QWidget *>(MaskEdit1), static_cast<QWidget *>(UpDown1)})
        w->setVisible(addTo);
    if (addTo)
        EditSen->setText(QStringLiteral("001"));
    EditSen->setEnabled(!addTo);
    Label22->setCursor(addTo ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TContConf::Label22DblClick()
{
    EditSen->setEnabled(true);
    Label22->setCursor(Qt::ArrowCursor);
}

void TContConf::PointUpDownClick(const QString &pointName, int direction)
{
    if (QLineEdit *field = point(pointName))
        field->setText(ContestFile::pointStep(field->text(), direction));
}

void TContConf::UpDown1Click(int direction)
{
    MaskEdit1->setText(ContestFile::stepStep(MaskEdit1->text(), direction));
}

ContestFile::Settings TContConf::settings() const
{
    ContestFile::Settings s;
    s.name = ComboBox1->currentText();
    s.info = RadioGroup1->itemIndex();
    for (const QString &name : ContestFile::pointNames())
        s.points << point(name)->text();
    s.box1 = CheckBox1->isChecked();
    s.box2 = CheckBox2->isChecked();
    s.autoStart = CheckBox3->isChecked();
    s.addTo = CheckBoxSen->isChecked();
    s.factor = QString::number(SPoint->value());
    s.sent = EditSen->text();
    s.step = MaskEdit1->text();
    s.startDate = DatePicker1->date();
    s.startTime = TimePicker1->time();
    s.stopDate = DatePicker2->date();
    s.stopTime = TimePicker2->time();
    return s;
}

void TContConf::writeFile(const QString &path) const
{
    SettingsFile::writeFile(path, ContestFile::compose(settings()));
}

void TContConf::readFile(const QString &path)
{
    const ContestFile::Reading reading = ContestFile::parse(SettingsFile::readFile(path));
    apply(reading);
    if (!reading.problems.isEmpty())
        Ui::showError(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), reading.problems.join(QStringLiteral("; "))));
}

void TContConf::apply(const ContestFile::Reading &r)
{
    ComboBox1->setCurrentText(r.name);
    if (r.info)
        RadioGroup1->setItemIndex(*r.info);
    const QStringList &names = ContestFile::pointNames();
    for (int i = 0; i < names.size(); ++i)
        point(names[i])->setText(r.points.value(i));
    CheckBox1->setChecked(r.box1);
    CheckBox2->setChecked(r.box2);
    CheckBox3->setChecked(r.autoStart);
    // "Add to" runs its handler also when it stays as it was, so a loaded
    // "Add to" always leaves the first number locked.
    if (CheckBoxSen->isChecked() == r.addTo)
        CheckBoxSenClick();
    else
        CheckBoxSen->setChecked(r.addTo);
    if (r.factor)
        SPoint->setValue(*r.factor);
    EditSen->setText(r.sent);
    MaskEdit1->setText(r.step);
    if (r.startDate)
        DatePicker1->setDate(*r.startDate);
    if (r.startTime)
        TimePicker1->setTime(*r.startTime);
    if (r.stopDate)
        DatePicker2->setDate(*r.stopDate);
    if (r.stopTime)
        TimePicker2->setTime(*r.stopTime);
}
