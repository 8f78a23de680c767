#pragma once
// A menu item whose check mark is state. The operator's click and a click from
// code run the handler once, and the handler sees the mark as it was before
// the click (the item never toggles itself). Items of one radio group keep
// exactly one checked.

#include <QAction>
#include <QList>
#include <functional>

namespace Ui {

class MenuItem;

class RadioGroup {
public:
    void add(MenuItem *item);
    void checked(MenuItem *item); // unchecks the others
    const QList<MenuItem *> &items() const { return items_; }

private:
    QList<MenuItem *> items_;
};

class MenuItem : public QAction {
    Q_OBJECT
public:
    MenuItem(const QString &objectName, const QString &caption, QObject *parent);

    bool isChecked() const { return checked_; }
    void setChecked(bool checked);
    void setGroup(RadioGroup *group);
    RadioGroup *group() const { return group_; }

    // The handler runs through the guard.
    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    // A click from code: runs the handler at once, visible or not.
    void click();

private:
    void showMark();
    bool checked_ = false;
    RadioGroup *group_ = nullptr;
    std::function<void()> handler_;
};

} // namespace Ui
