#include "station/KeyerUpDown.h"

#include "platform/ui/Guard.h"

TKeyerUpDown::TKeyerUpDown(const QString &objectName, KeyerSettings::Range range, QLineEdit *associate,
                           QWidget *parent)
    : TUpDown(objectName, parent), range_(range), associate_(associate), position_(range.min)
{
    associate_->setReadOnly(true);
    Ui::connectGuarded(this, &TUpDown::clicked, this, [this](int direction) { step(direction); });
    setPosition(position_);
}

void TKeyerUpDown::setPosition(int position)
{
    position_ = range_.clamp(position);
    associate_->setText(QString::number(position_));
}

void TKeyerUpDown::step(int direction)
{
    setPosition(range_.stepped(position_, direction));
}
