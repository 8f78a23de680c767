#pragma once
// A window of the program: created once at start-up, alive until exit. Closing
// runs the close handler and only hides it. The activation handler runs when
// the program shows the window or the operator brings it up from another of
// the program's windows, not when focus comes back from another program or
// from one of the window's own message boxes.

#include <QMainWindow>

class QEventLoop;

namespace Ui {

class Window : public QMainWindow {
    Q_OBJECT
public:
    explicit Window(const QString &objectName, const QString &caption, QWidget *parent = nullptr);

    // Show: visible, raised and active; the activation handler runs. The
    // first show places the window inside its screen, frame included, at a
    // size that shows its contents and its caption. While a KeepKeyboard
    // lives the window comes up raised but leaves the keyboard where it is
    // (its activation handler still runs).
    void showWindow();
    // Runs the window until it is closed or hidden.
    void showModal();
    // Close: the close handler, then hidden.
    void closeWindow();
    // Hidden without the close handler.
    void makeInvisible();

    // Handlers that windows override under their own names.
    virtual void FormCreate() {}
    virtual void FormActivate() {}
    virtual void FormShow() {}
    virtual void FormClose() {}

    // Set for the main window: closing it ends the program.
    void setEndsProgram(bool ends) { endsProgram_ = ends; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void activated();
    void fitIntoScreen();
    bool endsProgram_ = false;
    bool placed_ = false;
    QEventLoop *modalLoop_ = nullptr;
};

// While one lives, windows the program shows come up without taking the
// keyboard: a run of windows shown on the operator's way (the look-up chain)
// must not catch the keys typed after it. Nests.
class KeepKeyboard {
public:
    KeepKeyboard();
    ~KeepKeyboard();
    KeepKeyboard(const KeepKeyboard &) = delete;
    KeepKeyboard &operator=(const KeepKeyboard &) = delete;
    static bool active();
};

} // namespace Ui
