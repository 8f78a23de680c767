#include "lookups/SpotLines.h"

#include <climits>

namespace SpotLines {

namespace {

// Position (1-based) of the first blank, 0 when there is none.
qsizetype firstBlank(const QString &line)
{
    return line.indexOf(u' ') + 1;
}

// The text before the first blank (empty when there is none).
QString beforeBlank(const QString &line)
{
    const qsizetype p = firstBlank(line);
    return p == 0 ? QString() : line.left(p - 1);
}

void cut(QString &line, qsizetype count)
{
    line.remove(0, count);
}

void trimLeading(QString &line, qsizetype atMost = -1)
{
    qsizetype n = 0;
    while (n < line.size() && line[n] == u' ' && (atMost < 0 || n < atMost))
        ++n;
    line.remove(0, n);
}

bool isCapital(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

struct BandRange {
    int from;
    int to;
    const char *key;
};

const BandRange bandRanges[] = {
    {1800, 2000, "1.8"},     {3500, 4000, "3.5"},     {7000, 7300, "7"},       {10100, 10150, "10"},
    {14000, 14350, "14"},    {18068, 18168, "18"},    {21000, 21450, "21"},    {24890, 24990, "24"},
    {28000, 29700, "28"},    {50000, 54000, "50"},    {144000, 148000, "144"}, {420000, 450000, "430"},
};

struct PlanRow {
    int from;
    int to;
    const char *mode;
};

// In order: a later row that holds the frequency wins over an earlier one.
const PlanRow bandPlan[] = {
    {1800, 1840, "CW"},      {1841, 2000, "SSB"},     {3500, 3579, "CW"},      {3580, 3599, "BPSK"},
    {3600, 3729, "SSB"},     {3730, 3740, "SSTV"},    {3740, 3999, "SSB"},     {7000, 7034, "CW"},
    {7035, 7039, "BPSK"},    {7040, 7299, "SSB"},     {10100, 10140, "CW"},    {10140, 10149, "BPSK"},
    {14000, 14069, "CW"},    {14070, 14074, "BPSK"},  {14075, 14100, "RTTY"},  {14100, 14349, "SSB"},
    {14225, 14235, "SSTV"},  {18068, 18109, "CW"},    {18100, 18110, "BPSK"},  {18110, 18167, "SSB"},
    {21000, 21450, "CW"},    {21080, 21119, "RTTY"},  {21080, 21085, "BPSK"},  {21150, 21449, "SSB"},
    {21335, 21345, "SSTV"},  {24890, 24989, "CW"},    {24920, 24929, "BPSK"},  {24930, 24989, "CW"},
    {28000, 30000, "CW"},    {28100, 28199, "RTTY"},  {28100, 28105, "BPSK"},  {28675, 29699, "SSB"},
    {28800, 29299, "SSTV"},  {29550, 29699, "FM"},    {100001, INT_MAX, "FM"},
};

} // namespace

Spot parse(const QString &text)
{
    QString line = text;
    Spot spot;
    spot.spotter = beforeBlank(line);
    // The blank and the character after it go with the spotter.
    cut(line, firstBlank(line) + 1);
    trimLeading(line);
    spot.frequency = beforeBlank(line);
    cut(line, firstBlank(line));
    trimLeading(line, 10);
    spot.dx = beforeBlank(line);
    cut(line, firstBlank(line));
    if (!line.startsWith(QString(10, u' ')))
        trimLeading(line);
    const qsizetype q = line.indexOf(QLatin1String("   ")) + 1;
    if (q >= 10 && q <= 29) {
        spot.comment = line.left(q - 1);
        cut(line, q);
    } else {
        spot.comment = line.left(28);
        cut(line, 29);
    }
    trimLeading(line);
    QString time = beforeBlank(line);
    for (int i = 0; i < 3; ++i)
        if (!time.isEmpty() && isCapital(time[0]))
            time.remove(0, 1);
    if (time.size() >= 5 && time.size() <= 8)
        time = time.right(4);
    spot.time = time;
    cut(line, firstBlank(line));
    spot.date = line.left(firstBlank(line) + 5);
    return spot;
}

QString bandKey(const QString &frequency)
{
    bool ok = false;
    const double kHz = frequency.trimmed().toDouble(&ok);
    if (!ok)
        return frequency;
    for (const BandRange &r : bandRanges)
        if (kHz >= r.from && kHz <= r.to)
            return QString::fromLatin1(r.key);
    return frequency;
}

QString bandPlanMode(const QString &frequency)
{
    const qsizetype point = frequency.indexOf(u'.');
    bool ok = false;
    const int kHz = point < 0 ? 0 : frequency.left(point).toInt(&ok, 10);
    QString mode = QStringLiteral("SSB");
    if (!ok)
        return mode;
    for (const PlanRow &row : bandPlan)
        if (kHz >= row.from && kHz <= row.to)
            mode = QString::fromLatin1(row.mode);
    return mode;
}

} // namespace SpotLines
