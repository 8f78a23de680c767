#pragma once
// The keyer windows' arrow control: a position within a range, moved by its
// step and shown in the read-only edit beside it.

#include "contest/UContest.h"
#include "station/KeyerSettings.h"

#include <QLineEdit>

class TKeyerUpDown : public TUpDown {
    Q_OBJECT
public:
    TKeyerUpDown(const QString &objectName, KeyerSettings::Range range, QLineEdit *associate, QWidget *parent);
    int Position() const { return position_; }
    // Kept within the range; the edit shows the new position.
    void setPosition(int position);

private:
    void step(int direction);
    KeyerSettings::Range range_;
    QLineEdit *associate_;
    int position_;
};
