#pragma once
// A window of the program: created once at start-up, alive until exit. Closing
// runs the close handler and only hides it. The activation handler runs when
// the program shows the window or the operator brings it up from another of
// the program's windows, not when focus comes back from another program or
// from one of the window's own message boxes.

#include <QList>
#include <QMainWindow>
#include <QPointer>

class QEventLoop;

namespace Ui {

class Window : public QMainWindow {
    Q_OBJECT
public:
    explicit Window(const QString &objectName, const QString &caption, QWidget *parent = nullptr);

    // Show: visible and raised; the activation handler runs. The first show
    // places the window inside its screen, frame included, at a size that
    // shows its contents and its caption. Shown by the operator's own command
    // (Ui::currentCause) it takes the keyboard, and gives it back to the
    // window it was opened from when it closes; shown as a side effect of
    // anything else it leaves the keyboard where it is.
    void showWindow();
    // Runs the window until it is closed or hidden; it takes the keyboard, as
    // it holds the program's input until then.
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

    // The window first opens at the top of its screen (the main window: the
    // windows shown beside it find room under its entry), not in the middle.
    void setOpensAtTop(bool top) { opensAtTop_ = top; }

    // A window shown beside `owner`: kept above it by the window manager (no
    // activation needed) and opened where it covers none of `keepClear`
    // (widgets of the owner) nor another visible window shown beside it.
    void setBeside(Window *owner, QList<QWidget *> keepClear);

protected:
    // Grows to at least `size`, within its screen, keeping its place.
    void growTo(QSize size);
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showAs(bool takeKeyboard);
    void activated();
    void fitIntoScreen();
    // Grows to show what its contents ask for, within its screen, keeping
    // its place.
    void growToContents();
    QSize wantedSize(const QRect &area);
    QMargins frameMargins() const;
    bool endsProgram_ = false;
    bool placed_ = false;
    bool opensAtTop_ = false;
    int fittedHintWidth_ = 0;
    QEventLoop *modalLoop_ = nullptr;
    QPointer<QWidget> openedFrom_;
    QPointer<Window> owner_;
    QList<QPointer<QWidget>> keepClear_;
};

// The width a window needs to show its caption whole in a usual title bar.
int captionWidth(const QWidget *window);

// Where a window whose frame is `size` opens beside its owner: inside the
// screen's `area`, clear of every rectangle in `avoid` (the first is the part
// of the owner kept clear), beside the owner's frame where the screen has
// room, else under the part kept clear (over the owner's lower part). With no
// place clear of the others, only the first is avoided; with none at all, as
// low on the screen as it goes.
QRect placeBeside(const QRect &ownerFrame, const QList<QRect> &avoid, QSize size, const QRect &area);

} // namespace Ui
