#include "core/LatinKeyMap.h"

namespace {

struct Key {
    char16_t cyrillic;
    char latin;
};

// Lower-case Cyrillic letter -> Latin capital on the same key of a standard
// keyboard. ж, х, ъ and э are not in the table and pass unchanged.
constexpr Key keys[] = {
    {u'а', 'F'}, {u'б', '/'}, {u'в', 'D'}, {u'г', 'U'}, {u'д', 'L'}, {u'е', 'T'}, {u'з', 'P'},
    {u'и', 'B'}, {u'й', 'Q'}, {u'к', 'R'}, {u'л', 'K'}, {u'м', 'V'}, {u'н', 'Y'}, {u'о', 'J'},
    {u'п', 'G'}, {u'р', 'H'}, {u'с', 'C'}, {u'т', 'N'}, {u'у', 'E'}, {u'ф', 'A'}, {u'ц', 'W'},
    {u'ч', 'X'}, {u'ш', 'I'}, {u'щ', 'O'}, {u'ы', 'S'}, {u'ь', 'M'}, {u'ю', '/'}, {u'я', 'Z'},
};

} // namespace

QChar latinKey(QChar typed)
{
    // Caps Lock gives the capitals of the same keys.
    const QChar lower = typed.toLower();
    for (const Key &k : keys)
        if (lower.unicode() == k.cyrillic)
            return QChar(QLatin1Char(k.latin));
    return typed;
}

QChar callsignKey(QChar typed)
{
    const QChar c = latinKey(typed);
    switch (c.unicode()) {
    case u'.':
    case u',':
    case u'\\':
    case u'<':
    case u'>':
        return QChar(u'/');
    default:
        return c;
    }
}

QString callsignKeys(const QString &typed)
{
    QString result = typed;
    for (QChar &c : result)
        c = callsignKey(c);
    return result;
}
