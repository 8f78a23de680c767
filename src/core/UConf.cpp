#include "core/UConf.h"

#include "core/Unit3.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TConfig *Config = nullptr;

QString defaultVcdDirectory()
{
    return QDir::home().filePath(QStringLiteral("Callbk/VCD"));
}

TConfig::TConfig() : Ui::Window(QStringLiteral("Config"), QStringLiteral("Configuration"))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    auto *central = new QWidget(this);
    setCentralWidget(central);
    PageControl = new QTabWidget(central);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    QWidget *bases = nullptr;
    for (const char *page : {"General", "LOG Name", "Grid", "Awards", "Bases", "Sound", "Programs"}) {
        auto *w = new QWidget(PageControl);
        PageControl->addTab(w, QString::fromLatin1(page));
        if (QLatin1String(page) == QLatin1String("Bases"))
            bases = w;
    }
    CheckBoxVCD = new QCheckBox(QStringLiteral("VCD"), bases);
    CheckBoxVCD->setObjectName(QStringLiteral("CheckBoxVCD"));
    EditVCD = new Ui::MaskEdit(QStringLiteral("EditVCD"), bases);
    EditVCD->setText(defaultVcdDirectory());
    auto *row = new QHBoxLayout(bases);
    row->addWidget(CheckBoxVCD);
    row->addWidget(EditVCD, 1);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(PageControl);
}

void TConfig::FormActivate()
{
    Form3->Timer1->start();
    Form3->Timer2->start();
}
