#pragma once
// Award report text: the distinct references on the left, the report file on
// the right.

#include "platform/ui/Window.h"

class QPlainTextEdit;

class TFMemAw : public Ui::Window {
    Q_OBJECT
public:
    TFMemAw();

    QPlainTextEdit *Memo1; // the report file
    QPlainTextEdit *Memo2; // the distinct references
};

extern TFMemAw *FMemAw;
