#include "awards/AwardReference.h"

namespace AwardReference {

QString copy(const QString &text, int start, int count)
{
    if (start < 1)
        start = 1;
    if (count < 1 || start > text.size())
        return {};
    return text.mid(start - 1, count);
}

QString encode(const Fields &f)
{
    QString text;
    if (!f.mainB.isEmpty())
        text = u'b' + copy(f.mainB, 1, 10) + u'o' + copy(f.infoB, 1, 8);
    if (!f.mainA.isEmpty())
        text = u'a' + copy(f.mainA, 1, 10) + u'o' + copy(f.infoA, 1, 8);
    if (!f.wasState.isEmpty())
        text = u'w' + copy(f.wasState, 1, 5) + u'o' + copy(f.wasInfo, 1, 13);
    if (!f.iotaLetters.isEmpty())
        text = u'i' + copy(f.iotaLetters, 1, 3) + u'-' + copy(f.iotaNumber, 1, 4) + u'o' + copy(f.iotaIsland, 1, 10);
    return text;
}

Decoded decode(const QString &text)
{
    Decoded d;
    // Positions count from 1; 0 means the landmark is missing, as the parts
    // below expect.
    const int o = int(text.indexOf(u'o')) + 1;
    const int dash = int(text.indexOf(u'-')) + 1;
    const QChar kind = text.isEmpty() ? QChar() : text.at(0);
    if (kind == u'i') {
        d.kind = Kind::Iota;
        d.field1 = copy(text, 2, dash - 2);
        d.field2 = copy(text, dash + 1, o - dash - 1);
        d.field3 = copy(text, o + 1, 10);
    } else if (kind == u'w') {
        d.kind = Kind::Was;
        d.field1 = copy(text, 2, o - 2);
        d.field2 = copy(text, o + 1, 13);
    } else if (kind == u'a' || kind == u'b') {
        d.kind = kind == u'a' ? Kind::AwardA : Kind::AwardB;
        d.field1 = copy(text, 2, o - 2);
        d.field2 = copy(text, o + 1, 8);
    }
    return d;
}

} // namespace AwardReference
