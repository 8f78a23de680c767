#include "awards/FMemAw.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>

TFMemAw *FMemAw = nullptr;

namespace {

QPlainTextEdit *memo(QWidget *parent, const char *name)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    // Fixed pitch, so the report's columns stand one under another.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    m->setFont(font);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return m;
}

} // namespace

TFMemAw::TFMemAw() : Ui::Window(QStringLiteral("FMemAw"), QStringLiteral("Award Info"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    Memo2 = memo(central, "Memo2");
    Memo1 = memo(central, "Memo1");
    auto *layout = new QHBoxLayout(central);
    layout->addWidget(Memo2, 1);
    layout->addWidget(Memo1, 3);
    resize(820, 480);
}
