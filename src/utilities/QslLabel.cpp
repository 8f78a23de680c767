#include "utilities/QslLabel.h"

#include "platform/format/TextFormat.h"

#include <utility>

namespace QslLabel {

namespace {

// A line with each piece starting at its 1-based column.
QString placed(std::initializer_list<std::pair<const char *, int>> pieces)
{
    QString line;
    for (const auto &[text, column] : pieces)
        line = line.leftJustified(column - 1, u' ') + QLatin1String(text);
    return line;
}

// A line ends at CR LF, LF or a lone CR (a notepad taken over from MixW).
QString firstLine(const QString &text)
{
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
        ++end;
    return text.left(end);
}

// Replaces the first `tag` of `line` by `value`; false when there is none.
bool replaceFirst(QString &line, QLatin1String tag, const QString &value)
{
    const qsizetype at = line.indexOf(tag);
    if (at < 0)
        return false;
    line.replace(at, tag.size(), value);
    return true;
}

} // namespace

QStringList defaultTemplate()
{
    QStringList lines(16);
    lines[0] = QString(26, u' ');
    lines[1] = QString(23, u' ');
    lines[7] = placed({{"<CALL>", 22}, {"<VIA>", 74}});
    lines[11] = placed({{"<DATE>", 8}, {"<TIME>", 29}, {"<BAND>", 41}, {"<MODE>", 55}, {"<RST>", 76}});
    lines[14] = placed({{"<REMARK>", 46}});
    lines[15] = QString(40, u' ');
    return lines;
}

QFont defaultFont()
{
    // The template lines its tags up by columns.
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

Filled fill(const QStringList &lines, const Contact &contact)
{
    const bool via = contact.notepad.toUpper().contains(QLatin1String("VIA"));
    const QString remark = contact.rxQsl.isEmpty() ? QStringLiteral("Pse QSL") : QStringLiteral("Tnx QSL");
    Filled filled;
    for (QString line : lines) {
        if (replaceFirst(line, QLatin1String("<CALL>"), contact.call))
            filled.callPlaced = true;
        if (replaceFirst(line, QLatin1String("<VIA>"), via ? firstLine(contact.notepad) : QString()) && via) {
            // The manager's callsign is printed without the word before it.
            const qsizetype at = line.indexOf(QLatin1String("VIA"), 0, Qt::CaseInsensitive);
            if (at >= 0)
                line.remove(at, 3);
        }
        replaceFirst(line, QLatin1String("<DATE>"), contact.date);
        replaceFirst(line, QLatin1String("<TIME>"), contact.time);
        replaceFirst(line, QLatin1String("<BAND>"), contact.band);
        replaceFirst(line, QLatin1String("<MODE>"), contact.mode);
        replaceFirst(line, QLatin1String("<RST>"), contact.txRst);
        replaceFirst(line, QLatin1String("<REMARK>"), remark);
        filled.lines << line;
    }
    return filled;
}

QString styleLetters(const QFont &font)
{
    if (font.underline() || font.strikeOut())
        return QStringLiteral("N");
    if (font.bold() && font.italic())
        return QStringLiteral("BI");
    if (font.bold())
        return QStringLiteral("B");
    if (font.italic())
        return QStringLiteral("I");
    return QStringLiteral("N");
}

FontReading parseFont(const QString &text, const QFont &font)
{
    const QStringList l = lines(text);
    const auto at = [&l](int k) { return k < l.size() ? l[k] : QString(); };
    FontReading reading{font, {}};
    const std::optional<qint64> size = TextFormat::parseInteger(at(1));
    if (size && *size > 0)
        reading.font.setPointSize(int(*size));
    else if (!size)
        reading.problem = QStringLiteral("'%1' is not a valid integer value").arg(at(1));
    if (!at(0).isEmpty())
        reading.font.setFamily(at(0));
    const QString style = at(2);
    if (style == QLatin1String("B") || style == QLatin1String("I") || style == QLatin1String("BI")) {
        reading.font.setBold(style.contains(u'B'));
        reading.font.setItalic(style.contains(u'I'));
        reading.font.setUnderline(false);
        reading.font.setStrikeOut(false);
    }
    return reading;
}

QByteArray composeFont(const QFont &font)
{
    return compose({font.family(), QString::number(qRound(font.pointSizeF())), styleLetters(font)});
}

QByteArray compose(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QStringList lines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString plain = text;
    plain.remove(u'\r');
    if (plain.endsWith(u'\n'))
        plain.chop(1);
    return plain.split(u'\n');
}

} // namespace QslLabel
