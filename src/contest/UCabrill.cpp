#include "contest/UCabrill.h"

#include "contest/CabrilloLines.h"
#include "contest/ContestFile.h"
#include "core/Progress.h"
#include "core/SettingsFile.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "platform/table/Table.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QFormLayout>
#include <QVBoxLayout>

TFCabrillo *FCabrillo = nullptr;

TFCabrillo::TFCabrillo() : Ui::Window(QStringLiteral("FCabrillo"), QStringLiteral("Cabrillo"))
{
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    auto *form = new QFormLayout;
    layout->addLayout(form);

    ComboBox1 = new QComboBox(central);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->addItems({QStringLiteral("ARRL"), QStringLiteral("CQ contests"),
                         QStringLiteral("Stew Perry contest & AP Sprint"), QStringLiteral("ARRL VHF contests"),
                         QStringLiteral("Sweepstakes"), QStringLiteral("NAQP and NA Sprint"),
                         QStringLiteral("RSGB IOTA Contest"), QStringLiteral("BARTG RTTY Contest"), QString()});
    ComboBox1->setCurrentText(QStringLiteral("ARRL"));
    form->addRow(Ui::label(QStringLiteral("Contest"), nullptr), ComboBox1);
    auto edit = [&](const char *name, const QString &label, const QString &text = {}) {
        auto *e = new QLineEdit(text, central);
        e->setObjectName(QString::fromLatin1(name));
        form->addRow(Ui::label(label, nullptr), e);
        return e;
    };
    EditMode = edit("EditMode", QStringLiteral("Mode"));
    EditCateg = edit("EditCateg", QStringLiteral("Category"), QStringLiteral("SINGLE-OP ALL ?PWR?"));
    EditScore = edit("EditScore", QStringLiteral("Caimed-Score"));
    EditOperat = edit("EditOperat", QStringLiteral("Operators"));
    EditClub = edit("EditClub", QStringLiteral("Club"));
    EditName = edit("EditName", QStringLiteral("Name"));
    EditAdr1 = edit("EditAdr1", QStringLiteral("Address"));
    EditAdr2 = edit("EditAdr2", QStringLiteral("Address"));
    EditAdr3 = edit("EditAdr3", QStringLiteral("Address"));
    EditSoap = edit("EditSoap", QStringLiteral("Soapbox"));
    Button1 = new QPushButton(QStringLiteral("OK"), central);
    Button1->setObjectName(QStringLiteral("Button1"));
    layout->addWidget(Button1);
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TFCabrillo::FormCreate()
{
    followOwnCallsign();
}

// The settings are read only after this window is created, so the operators
// follow the own callsign until the operator types something else.
void TFCabrillo::FormActivate()
{
    followOwnCallsign();
}

void TFCabrillo::followOwnCallsign()
{
    if (!Config || EditOperat->text() != operatorsSet_)
        return;
    operatorsSet_ = Config->MaskEditC->text();
    EditOperat->setText(operatorsSet_);
}

void TFCabrillo::Button1Click()
{
    followOwnCallsign();
    const QString dir = Config->programDirectory();
    const QString chosen =
        Ui::saveFileName({QStringLiteral("Save As"), QStringLiteral("Cabrillo (*.cbr);;All (*.*)"), dir, {}, {}});
    if (chosen.isEmpty())
        return;
    exportTo(ContestFile::withExtension(QDir(dir).absoluteFilePath(chosen), QStringLiteral(".cbr")));
}

void TFCabrillo::exportTo(const QString &path)
{
    Db::Table &log = DM->Table1;
    const QString ownCall = Config->MaskEditC->text();
    ProgressWalk walk;
    walk.start(log.recordCount());
    QStringList lines = CabrilloLines::headerLines({ComboBox1->currentText(), EditMode->text(), ownCall,
                                                   EditCateg->text(), EditScore->text(), EditOperat->text(),
                                                   EditClub->text(), EditAdr1->text(), EditAdr2->text(),
                                                   EditAdr3->text(), EditSoap->text()});
    if (log.isActive()) {
        auto field = [&log](const char *name) -> Db::Field & { return log.fieldByName(QString::fromLatin1(name)); };
        Db::Field &band = field("LogBand"), &mode = field("LogMode"), &date = field("LogDate"), &time = field("LogTime"),
                  &txRst = field("LogTxRst"), &sent = field("Log3"), &call = field("LogCall"),
                  &rxRst = field("LogRxRst"), &received = field("Log2");
        for (log.first(); !log.eof(); log.next()) {
            walk.step();
            const auto line =
                CabrilloLines::qsoLine({band.asString(), mode.asString(), date.asDate(), time.asTime(), ownCall,
                                        txRst.asString(), sent.asString(), call.asString(), rxRst.asString(),
                                        received.asString()});
            if (line)
                lines << *line;
        }
    }
    lines << QString::fromLatin1(CabrilloLines::endLine);
    // Written at once, so a failed write leaves any old file as it was.
    SettingsFile::writeFile(path, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}
