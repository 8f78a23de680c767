#pragma once
// Small control helpers: edits that turn letters to upper case and report
// leaving the field, radio groups by item index, and colours given as Windows
// numbers.

#include <QButtonGroup>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QValidator>

namespace Ui {

// A label that shows its text as it is: a callsign, a spot or a file's line
// is never read as markup (an image tag would make the label open a file).
// Every label of the program is made here.
QLabel *label(const QString &text, QWidget *parent, const char *objectName = nullptr);

// A combo box offering `items` whose text code may also set to any other text
// (a spot's frequency, a value read from a file).
QComboBox *editableCombo(QWidget *parent, const char *objectName, const QStringList &items, const QString &text);

// A record navigator: the buttons First, Prior, Next and Last ("NavFirst"
// ... "NavLast") in one bar, which is returned.
QWidget *navigator(QWidget *parent, const char *objectName, QPushButton *&first, QPushButton *&prior,
                   QPushButton *&next, QPushButton *&last);

// The width a grid needs to show all its columns beside its row titles and
// a vertical scroll bar.
int allColumnsWidth(const QTableView *grid);

// Windows colour numbers are 0x00BBGGRR: 255 is red, 65280 green.
QColor windowsColor(int bgr);
// The colour of a control's text, in the palette role the control paints its
// text with.
void setFontColor(QWidget *widget, int bgr);
int fontColor(const QWidget *widget); // as a Windows number

// Shows `text` in a memo, unless the memo shows it already with nothing to
// undo or redo: setting a memo's text rebuilds its document, which a save
// and every keystroke would pay for again and again.
void setMemoText(QPlainTextEdit *memo, const QString &text);

// Typed or pasted text is one line: control characters (a pasted line break
// or tab) become blanks.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &position) const override;
};

// Turns every letter upper case, typed or set from code; one line as above.
class UpperCaseValidator : public OneLineValidator {
public:
    using OneLineValidator::OneLineValidator;
    State validate(QString &input, int &position) const override;
};

// An edit field; what is typed or pasted is one line. "Exit" (leaving the field) is a focus change to another
// control; deactivating the window or opening a popup is not.
class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdit(const QString &objectName, QWidget *parent = nullptr);
    void setUpperCase(bool upper);
    bool isUpperCase() const;

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent *event) override;
};

// A framed group of radio buttons, one per item, with the chosen item's index
// (-1 for none).
class RadioGroupBox : public QGroupBox {
    Q_OBJECT
public:
    RadioGroupBox(const QString &objectName, const QString &caption, const QStringList &items,
                  QWidget *parent = nullptr);
    int itemIndex() const;
    // An index without an item leaves none chosen.
    void setItemIndex(int index);

private:
    QButtonGroup *buttons_;
};

} // namespace Ui
