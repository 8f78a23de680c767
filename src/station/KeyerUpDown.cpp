#include "station/KeyerUpDown.h"

#include "platform/ui/Guard.h"

#include <QToolButton>
#include <QVBoxLayout>

TKeyerUpDown::TKeyerUpDown(const QString &objectName, KeyerSettings::Range range, QLineEdit *associate,
                           QWidget *parent)
    : QWidget(parent), range_(range), associate_(associate), position_(range.min)
{
    setObjectName(objectName);
    associate_->setReadOnly(true);
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
    setPosition(position_);
}

void TKeyerUpDown::setPosition(int position)
{
    position_ = range_.clamp(position);
    associate_->setText(QString::number(position_));
}

void TKeyerUpDown::click(int direction)
{
    setPosition(range_.stepped(position_, direction));
}
