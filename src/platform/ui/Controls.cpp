#include "platform/ui/Controls.h"

#include "platform/format/TextFormat.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QTextDocument>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Ui {

int allColumnsWidth(const QTableView *grid)
{
    int width = grid->horizontalHeader()->length() + 2 * grid->frameWidth();
    if (!grid->verticalHeader()->isHidden())
        width += grid->verticalHeader()->sizeHint().width();
    if (grid->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        width += grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    return width;
}

QLabel *label(const QString &text, QWidget *parent, const char *objectName)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    if (objectName)
        l->setObjectName(QString::fromLatin1(objectName));
    return l;
}

QComboBox *editableCombo(QWidget *parent, const char *objectName, const QStringList &items, const QString &text)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(objectName));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentText(text);
    return c;
}

QColor windowsColor(int bgr)
{
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}

void setMemoText(QPlainTextEdit *memo, const QString &text)
{
    const QTextDocument *d = memo->document();
    if (!d->isUndoAvailable() && !d->isRedoAvailable() &&
        (text.isEmpty() ? d->isEmpty() : memo->toPlainText() == text))
        return;
    memo->setPlainText(text);
}

// Each kind of control paints its text in a role of its own: a button in
// ButtonText, an edit in Text, a label or check box in WindowText.
void setFontColor(QWidget *widget, int bgr)
{
    const QColor colour = windowsColor(bgr);
    const QPalette::ColorRole role = widget->foregroundRole();
    // Indicators are set on every keystroke, mostly to the colour they have;
    // setting a palette resolves it against the inherited one, which costs.
    const QPalette &now = widget->palette();
    if (widget->testAttribute(Qt::WA_SetPalette)) {
        bool same = true;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            same = same && now.isBrushSet(group, role) && now.brush(group, role) == QBrush(colour);
        if (same)
            return;
    }
    QPalette palette = now;
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

int fontColor(const QWidget *widget)
{
    const QColor c = widget->palette().color(widget->foregroundRole());
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

QValidator::State OneLineValidator::validate(QString &input, int &) const
{
    input = TextFormat::blankControls(input);
    return Acceptable;
}

QValidator::State UpperCaseValidator::validate(QString &input, int &position) const
{
    OneLineValidator::validate(input, position);
    input = input.toUpper();
    return Acceptable;
}

MaskEdit::MaskEdit(const QString &objectName, QWidget *parent) : QLineEdit(parent)
{
    setObjectName(objectName);
    setValidator(new OneLineValidator(this));
}

void MaskEdit::setUpperCase(bool upper)
{
    if (upper == isUpperCase())
        return;
    delete validator();
    setValidator(upper ? new UpperCaseValidator(this) : new OneLineValidator(this));
    if (upper)
        setText(text().toUpper());
}

bool MaskEdit::isUpperCase() const
{
    return dynamic_cast<const UpperCaseValidator *>(validator()) != nullptr;
}

void MaskEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit exited();
}

RadioGroupBox::RadioGroupBox(const QString &objectName, const QString &caption, const QStringList &items,
                             QWidget *parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this))
{
    setObjectName(objectName);
    auto *layout = new QVBoxLayout(this);
    for (const QString &item : items) {
        auto *button = new QRadioButton(item, this);
        buttons_->addButton(button, int(buttons_->buttons().size()));
        layout->addWidget(button);
    }
}

int RadioGroupBox::itemIndex() const
{
    return buttons_->checkedId();
}

void RadioGroupBox::setItemIndex(int index)
{
    if (QAbstractButton *button = buttons_->button(index)) {
        button->setChecked(true);
    } else if (QAbstractButton *checked = buttons_->checkedButton()) {
        // An exclusive group refuses to uncheck its last button.
        buttons_->setExclusive(false);
        checked->setChecked(false);
        buttons_->setExclusive(true);
    }
}

QWidget *navigator(QWidget *parent, const char *objectName, QPushButton *&first, QPushButton *&prior,
                   QPushButton *&next, QPushButton *&last)
{
    auto *bar = new QWidget(parent);
    bar->setObjectName(QString::fromLatin1(objectName));
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto button = [bar, layout](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), bar);
        b->setObjectName(QString::fromLatin1(name));
        layout->addWidget(b);
        return b;
    };
    first = button("NavFirst", "|<");
    prior = button("NavPrior", "<");
    next = button("NavNext", ">");
    last = button("NavLast", ">|");
    return bar;
}

} // namespace Ui
