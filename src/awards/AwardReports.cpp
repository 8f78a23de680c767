#include "awards/AwardReports.h"

#include "platform/format/TextFormat.h"

namespace AwardReports {

namespace {

bool named(Award award)
{
    return award == Award::AwardA || award == Award::AwardB;
}

// At most `n` characters from 1-based position `i`; empty when n < 1 or i
// lies past the end, from the first character when i < 1.
QString piece(const QString &text, qsizetype i, qsizetype n)
{
    if (n < 1 || i > text.size())
        return {};
    if (i < 1) {
        n -= 1 - i;
        i = 1;
        if (n < 1)
            return {};
    }
    return text.mid(i - 1, n);
}

// 1-based position of the first `c`; 0 when there is none.
qsizetype position(const QString &text, QChar c)
{
    return text.indexOf(c) + 1;
}

} // namespace

QChar letter(Award award)
{
    static const char letters[] = {'i', 'w', 'a', 'b'};
    return QLatin1Char(letters[int(award)]);
}

QString fileName(Award award)
{
    static const char *const names[] = {"Awrds/Iota.txt", "Awrds/Was.txt", "Awrds/AwrA.txt", "Awrds/AwrB.txt"};
    return QString::fromLatin1(names[int(award)]);
}

QString rangeEnd(Award award)
{
    // The highest character there is: a reference in another alphabet, or
    // one whose second character sorts after "z", is still in the range.
    return QString(letter(award)) + QString::fromUcs4(U"\U0010FFFF");
}

Parts parts(Award award, const QString &logOther)
{
    if (!logOther.startsWith(letter(award)))
        return {};
    const qsizetype o = position(logOther, u'o');
    if (award != Award::Iota)
        return {piece(logOther, 2, o - 2), piece(logOther, o + 1, 8)};
    const qsizetype d = position(logOther, u'-');
    return {piece(logOther, 2, d - 2) + u'-' + piece(logOther, d + 1, o - d - 1), piece(logOther, o + 1, 10)};
}

Report::Report(Award award, const QString &title) : award_(award)
{
    lines_ << title << QString();
}

void Report::add(const Contact &c)
{
    const Parts p = parts(award_, c.other);
    const QString time = c.time.size() == 7 ? u'0' + c.time : c.time;
    lines_ << TextFormat::fixedColumns({{p.reference, 1}, {c.call, 9}, {c.date, 22}, {time, 34}, {c.band, 44},
                                        {c.mode, 48}, {c.rstRx, 52}, {c.rstTx, 56}, {p.extra, 61}});
    if (!c.call.isEmpty() && !c.date.isEmpty() && !c.time.isEmpty() && !c.band.isEmpty() && !c.mode.isEmpty())
        ++contacts_;
    if (p.reference != previous_) {
        references_ << p.reference;
        previous_ = p.reference;
    }
    if (named(award_) && !p.extra.isEmpty() && p.extra[0] >= u'1' && p.extra[0] <= u'9') {
        bool ok = false;
        const int points = p.extra.toInt(&ok);
        if (ok)
            points_ += points;
        else
            ++errors_;
    }
}

QString Report::text() const
{
    QStringList all = lines_;
    all << QString();
    const QString contacts = QString::number(contacts_);
    const QString references = QString::number(references_.size());
    switch (award_) {
    case Award::Iota:
        all << QStringLiteral("Total IOTA QSO : ") + contacts << QStringLiteral("Total Islands  : ") + references;
        break;
    case Award::Was:
        all << QStringLiteral("Total USA QSO : ") + contacts << QStringLiteral("Total States  : ") + references;
        break;
    case Award::AwardA:
    case Award::AwardB:
        all << QStringLiteral("Points: ") + QString::number(points_);
        if (errors_ > 0)
            all << QString::number(errors_) + QStringLiteral(" - Errors of count!");
        all << QString() << QStringLiteral("Total QSO      : ") + contacts
            << QStringLiteral("Total Main QSO : ") + references;
        break;
    }
    return all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace AwardReports
