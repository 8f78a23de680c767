#include "contest/CabrilloLines.h"

#include "core/BandsAndModes.h"
#include "platform/format/TextFormat.h"

#include <algorithm>

namespace CabrilloLines {

QStringList headerLines(const Header &h)
{
    // A line break in a value would start a tag of its own.
    QStringList lines{QStringLiteral("START-OF-LOG: 2.0"),
            QStringLiteral("CREATED-BY: Tarnel Software by QA1ZZ"),
            QStringLiteral("ARRL-SECTION:"),
            QStringLiteral("CONTEST: ") + h.contest + h.mode,
            QStringLiteral("CALLSIGN: ") + h.callsign,
            QStringLiteral("CATEGORY: ") + h.category,
            QStringLiteral("CLAIMED-SCORE: ") + h.score,
            QStringLiteral("OPERATORS: ") + h.operators,
            QStringLiteral("CLUB: ") + h.club,
            QStringLiteral("ADDRESS: ") + h.address1,
            QStringLiteral("ADDRESS: ") + h.address2,
            QStringLiteral("ADDRESS: ") + h.address3,
            QStringLiteral("SOAPBOX: ") + h.soapbox};
    for (QString &line : lines)
        line = TextFormat::blankControls(line);
    return lines;
}

QString frequency(const QString &band)
{
    // In the order of the band list; the satellite band has no frequency.
    static const char *const kHz[] = {" 1800", " 3500", " 7000", "10100", "14000", "18168", "21000",
                                      "24900", "28000", "   50", "  144", "  430", " 1260"};
    const auto list = bands();
    for (size_t i = 0; i < std::size(kHz) && i < list.size(); ++i)
        if (band == list[i].key)
            return QString::fromLatin1(kHz[i]);
    return band;
}

QString mode(const QString &mode)
{
    if (mode == QLatin1String("SSB"))
        return QStringLiteral("PH");
    if (mode == QLatin1String("RTTY"))
        return QStringLiteral("RY");
    return mode;
}

QString date(const QDate &date)
{
    return date.isValid() ? date.toString(u"yyyy-MM-dd") : QString();
}

QString time(const QTime &time)
{
    return time.isValid() ? time.toString(u"HHmm") : QString();
}

std::optional<QString> qsoLine(const Contact &c)
{
    const QString freq = frequency(c.band);
    const QString modeText = mode(c.mode);
    const QString dateText = date(c.date);
    const QString timeText = time(c.time);
    if (c.call.isEmpty() || dateText.isEmpty() || timeText.isEmpty() || freq.isEmpty() || modeText.isEmpty())
        return std::nullopt;

    const std::pair<int, const QString *> pieces[] = {
        {6, &freq},           {12, &modeText},    {15, &dateText},         {26, &timeText},
        {31, &c.ownCall},     {45, &c.sentReport}, {49, &c.sentNumber},    {56, &c.call},
        {70, &c.receivedReport}, {74, &c.receivedNumber},
    };
    // Inserting keeps the starting blanks: they separate the pieces and the
    // rest follows the last one.
    QString line = QStringLiteral("QSO: ") + QString(35, QLatin1Char(' '));
    int lastEnd = 0; // 1-based column of the previous piece's last character
    for (const auto &[column, piece] : pieces) {
        if (piece->isEmpty())
            continue;
        const int at = std::min(std::max(column, lastEnd + 2), int(line.size()) + 1);
        // A line break in a piece would end the contact's line early.
        line.insert(at - 1, TextFormat::blankControls(*piece));
        lastEnd = at + int(piece->size()) - 1;
    }
    return line;
}

} // namespace CabrilloLines
