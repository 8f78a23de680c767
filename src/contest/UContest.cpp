#include "contest/UContest.h"

#include "core/BandsAndModes.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
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

} // namespace

TContConf::TContConf() : Ui::Window(QStringLiteral("ContConf"), QStringLiteral("Contest Configuration"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);

    ComboBox1 = new QComboBox(central);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    layout->addWidget(ComboBox1);

    auto *grid = new QGridLayout;
    for (int c = 0; c < 4; ++c)
        grid->addWidget(new QLabel(QString::fromLatin1(modeColumns[c].label), central), 0, c + 1);
    int row = 1;
    for (const Band &band : bands()) {
        const QString label = band.token == QLatin1StringView("Sat") ? QString(band.token) : QString(band.key);
        grid->addWidget(new QLabel(label, central), row, 0);
        for (int c = 0; c < 4; ++c) {
            const QString name = QStringLiteral("Point") + QString(band.token) + QString::fromLatin1(modeColumns[c].suffix);
            auto *edit = new Ui::MaskEdit(name, central);
            edit->setText(scoresByDefault(band) ? QString::fromLatin1(modeColumns[c].points) : QStringLiteral("0"));
            grid->addWidget(edit, row, c + 1);
            points_.insert(name, edit);
        }
        ++row;
    }
    layout->addLayout(grid);

    auto *form = new QFormLayout;
    SPoint = new QSpinBox(central);
    SPoint->setObjectName(QStringLiteral("SPoint"));
    SPoint->setRange(1, 1000);
    SPoint->setValue(1);
    form->addRow(QStringLiteral("Initial number for QSO"), SPoint);
    EditSen = new Ui::MaskEdit(QStringLiteral("EditSen"), central);
    EditSen->setText(QStringLiteral("001"));
    form->addRow(QStringLiteral("Sent"), EditSen);
    CheckBoxSen = new QCheckBox(QStringLiteral("Add to"), central);
    CheckBoxSen->setObjectName(QStringLiteral("CheckBoxSen"));
    MaskEdit1 = new Ui::MaskEdit(QStringLiteral("MaskEdit1"), central);
    MaskEdit1->setText(QStringLiteral("1"));
    MaskEdit1->setReadOnly(true);
    form->addRow(CheckBoxSen, MaskEdit1);
    CheckBox3 = new QCheckBox(central);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    form->addRow(QStringLiteral("Start Contest (LogTime)"), CheckBox3);
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
    form->addRow(QStringLiteral("Stop Contest"), new QWidget(central));
    form->addRow(DatePicker2, TimePicker2);
    layout->addLayout(form);
}

QLineEdit *TContConf::point(const QString &name) const
{
    return points_.value(name);
}
