#include "platform/ui/MenuItem.h"

#include "platform/ui/Guard.h"

#include <QSignalBlocker>

namespace Ui {

void RadioGroup::add(MenuItem *item)
{
    if (!items_.contains(item))
        items_.append(item);
}

void RadioGroup::checked(MenuItem *item)
{
    for (MenuItem *other : std::as_const(items_))
        if (other != item && other->isChecked())
            other->setChecked(false);
}

MenuItem::MenuItem(const QString &objectName, const QString &caption, QObject *parent) : QAction(caption, parent)
{
    setObjectName(objectName);
    // Qt toggles a checkable action before its signal; put the mark back so
    // the handler alone decides.
    connect(this, &QAction::triggered, this, [this] {
        showMark();
        click();
    });
}

void MenuItem::setChecked(bool checked)
{
    if (group_ && !checked && checked_) {
        // A radio group never ends up with no item checked.
        bool another = false;
        for (MenuItem *other : group_->items())
            another = another || (other != this && other->isChecked());
        if (!another)
            return;
    }
    checked_ = checked;
    if (checked_ && group_)
        group_->checked(this);
    showMark();
}

void MenuItem::setGroup(RadioGroup *group)
{
    group_ = group;
    if (group_)
        group_->add(this);
}

void MenuItem::showMark()
{
    const QSignalBlocker blocker(this);
    QAction::setCheckable(checked_ || group_ != nullptr || QAction::isCheckable());
    QAction::setChecked(checked_);
}

void MenuItem::click()
{
    // The operator's command when chosen from a menu; the program's when
    // another handler clicks it.
    if (handler_)
        runCommand(handler_);
}

} // namespace Ui
