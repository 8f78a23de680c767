#pragma once
// Common frame of the four award reference windows: small, fixed, always on
// top, only labelled edit fields; closing empties them, so the next save
// writes no reference from a window the operator closed.

#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

#include <QHBoxLayout>

class ReferenceWindow : public Ui::Window {
    Q_OBJECT
public:
    void FormClose() override;

protected:
    ReferenceWindow(const QString &objectName, const QString &caption);
    Ui::MaskEdit *addField(const char *name, const QString &label, int maxLength, bool upperCase);
    void addText(const QString &text);

private:
    QHBoxLayout *row_;
    QList<Ui::MaskEdit *> fields_;
};
