#pragma once
// The QSL label's rules without a window: the template with its tags, filling
// it from one contact, and the two files that keep the template and its font.

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QStringList>

namespace QslLabel {

inline constexpr char templateFileName[] = "QSL_Lab.tnr";
inline constexpr char fontFileName[] = "QSL_F.tnr";

// The layout window's template when no file exists: 16 lines.
QStringList defaultTemplate();

// The font of both label memos before a font file is read.
QFont defaultFont();

// What a label shows of one log contact, as the log's texts give it.
struct Contact {
    QString call;
    QString notepad; // the contact's whole notepad
    QString date;    // dd.MM.yyyy
    QString time;    // HH:mm:ss
    QString band;
    QString mode;
    QString txRst;
    QString rxQsl;
};

struct Filled {
    QStringList lines;
    bool callPlaced = false; // some line held "<CALL>"
};

// Each line gets every tag's first occurrence replaced by its value, the tags
// taken in a fixed order; later occurrences stay as they are.
Filled fill(const QStringList &lines, const Contact &contact);

// The style letters of the font file: "B", "I", "BI", or "N" for anything
// else (an underlined or struck-out font included).
QString styleLetters(const QFont &font);

struct FontReading {
    QFont font;
    QString problem; // the size line that is not a whole number, as a message
};
// Reads the three lines (name, size in points, style letters) over `font`.
// A bad size line keeps the size and reading goes on; "N" keeps the style.
FontReading parseFont(const QString &text, const QFont &font);
QByteArray composeFont(const QFont &font);

// A memo's lines to file text (each line ended by CR LF), and back.
QByteArray compose(const QStringList &lines);
QStringList lines(const QString &text);

} // namespace QslLabel
