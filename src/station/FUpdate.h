#pragma once
// Poll interval of the MixW link.

#include "platform/ui/Window.h"

#include <QLineEdit>
#include <QSpinBox>

class TFUpdate : public Ui::Window {
    Q_OBJECT
public:
    TFUpdate();

    QLineEdit *Edit1;  // seconds, read-only
    QSpinBox *UpDown1; // 5-120, step 10

    void Edit1Change();
    void FormClose() override;
};

extern TFUpdate *FUpdate;
