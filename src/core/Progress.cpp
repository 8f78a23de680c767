#include "core/Progress.h"

#include "core/Unit2.h"

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

namespace {

constexpr qint64 repaintMillis = 50;

} // namespace

ProgressWalk::~ProgressWalk()
{
    if (!started_)
        return;
    DM->DataSource1.setEnabled(true);
    Progress->PrBar->setValue(0);
    Progress->closeWindow();
    Progress->setWindowTitle(QStringLiteral("Progress"));
}

void ProgressWalk::start(int maximum, bool cycling)
{
    started_ = true;
    cycling_ = cycling;
    position_ = 0;
    DM->DataSource1.setEnabled(false);
    setMaximum(maximum);
    Progress->PrBar->setValue(0);
    Progress->showWindow();
    clock_.start();
}

void ProgressWalk::setMaximum(int maximum)
{
    Progress->PrBar->setRange(0, qMax(maximum, 1));
}

void ProgressWalk::step(const QString &caption)
{
    ++position_;
    if (cycling_ && position_ == 499)
        position_ = 1;
    if (clock_.elapsed() < repaintMillis)
        return;
    clock_.restart();
    Progress->PrBar->setValue(position_);
    if (!caption.isEmpty())
        Progress->setWindowTitle(caption);
}
