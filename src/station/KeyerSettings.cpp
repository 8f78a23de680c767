#include "station/KeyerSettings.h"

#include <algorithm>

namespace KeyerSettings {

int Range::clamp(int position) const
{
    return std::clamp(position, min, max);
}

int Range::stepped(int position, int direction) const
{
    const int next = position + direction * step;
    if (wrap) {
        if (next > max)
            return min;
        if (next < min)
            return max;
    }
    return clamp(next);
}

Settings defaults(const Station &station)
{
    const QString &call = station.call;
    // Told twice, as the call is; an unknown name or town leaves the phrase open.
    auto twice = [](const QString &phrase, const QString &value) {
        return value.isEmpty() ? phrase : phrase + value + u' ' + value;
    };
    Settings s;
    s.names = {QStringLiteral("CQ"),       QStringLiteral("de ") + call.left(3) + QStringLiteral(" rx"),
               QStringLiteral("de ") + call, QStringLiteral("GD dr om"),
               QStringLiteral("RST"),      QStringLiteral("Name"),
               QStringLiteral("QTH"),      QStringLiteral("End"),
               QStringLiteral("HW?"),      QStringLiteral(" SK"),
               QStringLiteral("Aparat"),   QStringLiteral("WX"),
               QStringLiteral("OK dr om"), QStringLiteral("ConTest"),
               call};
    s.texts = {QStringLiteral("CQ CQ CQ de %1 %1 CQ CQ de %1 %1 pse k<RX><CL>").arg(call),
               QStringLiteral("<CALL> de %1 %1 k<RX>").arg(call),
               QStringLiteral(" <CALL> de ") + call,
               QStringLiteral(" GD DR OM <NAME>"),
               QStringLiteral(" UR RST <RSTTX> <RSTTX>"),
               twice(QStringLiteral(" My name is "), station.name),
               twice(QStringLiteral(" My QTH is "), station.qth),
               QStringLiteral(" Tnx for QSO DR OM <NAME> my QSL sure Best 73 GL GB"),
               QStringLiteral(" HW ?"),
               QStringLiteral(" SK<RX>"),
               QStringLiteral(" My TRX is R399 PWR 100 wtts ANT T2FD 20m long"),
               QStringLiteral(" WX is fine plus 25 C"),
               QStringLiteral(" OK DR OM <NAME>"),
               QStringLiteral("<IDTX> <IDRX>"),
               QStringLiteral("<CL><TX> %1 %1<RX>").arg(call)};
    return s;
}

QByteArray compose(const Settings &s)
{
    QStringList lines;
    for (int i = 0; i < macroCount; ++i)
        lines << s.names.value(i);
    for (int i = 0; i < macroCount; ++i)
        lines << s.texts.value(i);
    auto boolean = [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); };
    lines << QString::number(s.port) << QString::number(s.lead) << QString::number(s.stop)
          << boolean(s.rxOnBufferFree) << boolean(s.onKeyPress) << QString::number(s.speed);
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

Reading parse(const QString &text, const Settings &current)
{
    QStringList lines = text.split(QStringLiteral("\n"));
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    Reading r;
    r.settings = current;
    Settings &s = r.settings;
    s.names.resize(macroCount);
    s.texts.resize(macroCount);
    for (int i = 0; i < macroCount; ++i) {
        s.names[i] = lines.value(i);
        s.texts[i] = lines.value(macroCount + i);
    }
    // Lines 31 to 36 in order; a number that does not convert ends the reading.
    auto number = [&](int lineNo, int &target, auto keep) {
        const QString value = lines.value(lineNo - 1);
        bool ok = false;
        const int n = value.trimmed().toInt(&ok);
        if (!ok) {
            r.problem = QStringLiteral("%1, line %2: \"%3\" is not a whole number")
                            .arg(QString::fromLatin1(fileName)).arg(lineNo).arg(value);
            return false;
        }
        target = keep(n);
        return true;
    };
    if (!number(31, s.port, [](int n) { return n >= 0 && n < portCount ? n : 0; }))
        return r;
    if (!number(32, s.lead, [](int n) { return leadRange.clamp(n); }))
        return r;
    if (!number(33, s.stop, [](int n) { return stopRange.clamp(n); }))
        return r;
    s.rxOnBufferFree = lines.value(33) == QLatin1String("True");
    s.onKeyPress = lines.value(34) == QLatin1String("True");
    number(36, s.speed, [](int n) { return speedRange.clamp(n); });
    return r;
}

} // namespace KeyerSettings
