#include "awards/ReferenceWindow.h"

#include "platform/ui/Controls.h"

#include <QLabel>
#include <QVBoxLayout>

ReferenceWindow::ReferenceWindow(const QString &objectName, const QString &caption)
    : Ui::Window(objectName, caption)
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    auto *central = new QWidget(this);
    setCentralWidget(central);
    row_ = new QHBoxLayout(central);
    setFixedSize(280, 79);
}

Ui::MaskEdit *ReferenceWindow::addField(const char *name, const QString &label, int maxLength, bool upperCase)
{
    auto *column = new QVBoxLayout;
    column->addWidget(Ui::label(label, centralWidget()));
    auto *edit = new Ui::MaskEdit(QString::fromLatin1(name), centralWidget());
    edit->setMaxLength(maxLength);
    edit->setUpperCase(upperCase);
    column->addWidget(edit);
    row_->addLayout(column);
    fields_.append(edit);
    return edit;
}

void ReferenceWindow::addText(const QString &text)
{
    row_->addWidget(Ui::label(text, centralWidget()), 0, Qt::AlignBottom);
}

void ReferenceWindow::FormClose()
{
    for (Ui::MaskEdit *edit : std::as_const(fields_))
        edit->clear();
}
