#pragma once
// Small control helpers: edits that turn letters to upper case and report
// leaving the field, radio groups by item index, and colours given as Windows
// numbers.

#include <QButtonGroup>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace Ui {

// A combo box offering `items` whose text code may also set to any other text
// (a spot's frequency, a value read from a file).
QComboBox *editableCombo(QWidget *parent, const char *objectName, const QStringList &items, const QString &text);

// A record navigator: the buttons First, Prior, Next and Last ("NavFirst"
// ... "NavLast") in one bar, which is returned.
QWidget *navigator(QWidget *parent, const char *objectName, QPushButton *&first, QPushButton *&prior,
                   QPushButton *&next, QPushButton *&last);

// Windows colour numbers are 0x00BBGGRR: 255 is red, 65280 green.
QColor windowsColor(int bgr);
// The colour of a control's text, in the palette role the control paints its
// text with.
void setFontColor(QWidget *widget, int bgr);
int fontColor(const QWidget *widget); // as a Windows number

// Turns every letter upper case, typed or set from code.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &position) const override;
};

// An edit field. "Exit" (leaving the field) is a focus change to another
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
