#include "utilities/SkedFile.h"

#include "platform/format/TextFormat.h"

namespace SkedFile {

Row unsetRow(const QDate &today)
{
    return {today.addDays(-1), QTime(0, 0), QString()};
}

Reading parse(const QString &text, const Rows &rows)
{
    Reading reading{rows, {}};
    QStringList lines = text.split(QLatin1Char('\n'));
    const auto report = [&](const QString &message) {
        if (reading.problem.isEmpty())
            reading.problem = message;
    };
    for (int k = 0; k < rowCount; ++k) {
        const auto line = [&](int offset) {
            const int index = 3 * k + offset;
            QString l = index < lines.size() ? lines[index] : QString();
            if (l.endsWith(QLatin1Char('\r')))
                l.chop(1);
            return std::pair{index < lines.size(), l};
        };
        Row &row = reading.rows[k];
        if (const auto [present, l] = line(0); present) {
            if (const auto date = TextFormat::parseDate(l))
                row.date = *date;
            else
                report(QStringLiteral("'%1' is not a valid date").arg(l));
        }
        if (const auto [present, l] = line(1); present) {
            if (const auto time = TextFormat::parseTime(l))
                row.time = *time;
            else
                report(QStringLiteral("'%1' is not a valid time").arg(l));
        }
        if (const auto [present, l] = line(2); present)
            row.text = l;
    }
    return reading;
}

QByteArray compose(const Rows &rows)
{
    QString text;
    for (const Row &row : rows)
        text += TextFormat::dateText(row.date) + QStringLiteral("\r\n") + TextFormat::timeText(row.time) + QStringLiteral("\r\n") + row.text
                + QStringLiteral("\r\n");
    return text.toUtf8();
}

QList<int> dueRows(const Rows &rows, const MainClock::Span &span)
{
    QList<int> due;
    for (int k = 0; k < rowCount; ++k)
        if (rows[k].date.isValid() && rows[k].time.isValid() && span.reached(rows[k].date, rows[k].time))
            due << k;
    return due;
}

int litLamp(const Rows &rows, const QDate &today)
{
    int lit = -1;
    for (int k = 0; k < rowCount; ++k)
        if (rows[k].date == today)
            lit = k;
    return lit;
}

QString boxText(const Row &row)
{
    return QStringLiteral("SKED !!!    ") + row.text;
}

} // namespace SkedFile
