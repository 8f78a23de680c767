#include "core/Progress.h"

#include <QProgressBar>
#include <QVBoxLayout>

TProgress *Progress = nullptr;

TProgress::TProgress() : Ui::Window(QStringLiteral("Progress"), QStringLiteral("Progress"))
{
    auto *central = new QWidget(this);
    PrBar = new QProgressBar(central);
    PrBar->setObjectName(QStringLiteral("PrBar"));
    PrBar->setRange(0, 100);
    PrBar->setValue(0);
    // The walks count rows, not per cent; a number would only flicker.
    PrBar->setTextVisible(false);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(PrBar);
    setCentralWidget(central);
    resize(420, 60);
}
