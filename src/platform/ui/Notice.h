#pragma once
// A report the program makes by itself, at a moment of its own (an alarm
// that cannot sound, a log found damaged): a small window with the text and
// "OK". Unlike a message box it leaves the keyboard where it is, so the
// Enter of a contact being typed is not taken by it.

#include "platform/ui/Window.h"

#include <QLabel>

namespace Ui {

class Notice : public Window {
public:
    Notice(const QString &objectName, const QString &caption, QWidget *parent = nullptr);
    // Shows `text`, as the program's work shows any window.
    void report(const QString &text);
    QLabel *text() const { return text_; }

private:
    QLabel *text_;
};

} // namespace Ui
