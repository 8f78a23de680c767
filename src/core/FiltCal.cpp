#include "core/FiltCal.h"

#include "core/LatinKeyMap.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Guard.h"

#include <QKeyEvent>
#include <QVBoxLayout>

TFiltCal *FiltCal = nullptr;

namespace {

// Eleven Z: every callsign that begins with the text lies in the range.
const QString rangeEnd = QStringLiteral("ZZZZZZZZZZZ");

} // namespace

TFiltCal::TFiltCal() : Ui::Window(QStringLiteral("FiltCal"), QStringLiteral("Filter Callsignal"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    Edit1 = new Ui::MaskEdit(QStringLiteral("Edit1"), central);
    Edit1->setUpperCase(true);
    Edit1->setMaxLength(16);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(Edit1);
    Ui::connectGuarded(Edit1, &QLineEdit::textChanged, this, [this](const QString &) { Edit1Change(); });
    // The Cyrillic keys give the Latin letters on the same keys (the table
    // only: marks stay as typed).
    Edit1->installEventFilter(new Ui::GuardedEventFilter(
        [this](QObject *, QEvent *event) {
            if (event->type() != QEvent::KeyPress)
                return false;
            const QString typed = static_cast<QKeyEvent *>(event)->text();
            if (typed.size() != 1 || latinKey(typed[0]) == typed[0])
                return false;
            Edit1->insert(QString(latinKey(typed[0])));
            return true;
        },
        this));
}

void TFiltCal::Edit1Change()
{
    const QString text = Edit1->text();
    Form3->AutoViewImages1->setChecked(false);
    Db::Table &log = DM->Table1;
    if (log.isActive()) {
        DM->DataSource1.setEnabled(false);
        Ui::runGuarded([&] {
            log.setIndexName(QStringLiteral("ByCall"));
            log.setRange(text, text + rangeEnd);
            log.last();
        });
        DM->DataSource1.setEnabled(true);
    }
    // Pictures follow the filtered contacts only from three characters on.
    if (text.size() > 2)
        Form3->AutoViewImages1->setChecked(true);
}

void TFiltCal::FormClose()
{
    Edit1->clear();
    DM->wholeLogByDate();
    Form3->AutoViewImages1->setChecked(true);
}
