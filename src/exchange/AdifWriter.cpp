#include "exchange/AdifWriter.h"

#include "exchange/AdifContact.h"
#include "platform/format/TextFormat.h"

namespace AdifWriter {

namespace {

using namespace Qt::StringLiterals;

void piece(QByteArray &line, const char *tag, const QByteArray &value)
{
    line += '<';
    line += tag;
    line += ':';
    line += QByteArray::number(value.size());
    line += '>';
    line += value;
    line += ' ';
}

void piece(QByteArray &line, const char *tag, const QString &value)
{
    piece(line, tag, value.toUtf8());
}

// The log stores at most six characters of a band, so "Satellite" is "Satell".
QString adifBand(const QString &band)
{
    for (const AdifContact::BandName &b : AdifContact::bandNames()) {
        if (b.key.left(6) == band)
            return b.adif;
    }
    return {};
}

} // namespace

QByteArray header()
{
    return QByteArray("Tarnel") + lineEnd + "<EOH>" + lineEnd;
}

QString adifDate(const QString &date)
{
    if (date.size() == 10)
        return date.mid(6, 4) + date.mid(3, 2) + date.left(2);
    if (date.size() == 8) {
        // A two-digit year: up to 40 is this century.
        bool ok = false;
        const int yy = date.mid(6, 2).toInt(&ok);
        if (!ok)
            return {};
        return (yy <= 40 ? u"20"_s : u"19"_s) + date.mid(6, 2) + date.mid(3, 2) + date.left(2);
    }
    return {};
}

QString adifTime(const QString &time)
{
    if (time.size() > 1 && time.at(1) == u':')
        return u'0' + time.left(1) + time.mid(2, 2);
    return time.left(2) + time.mid(3, 2);
}

QByteArray recordLine(const LogRowTexts &row)
{
    QByteArray line;
    line.reserve(160);
    piece(line, "CALL", row.call);
    piece(line, "QSO_DATE", adifDate(row.date));
    piece(line, "TIME_ON", adifTime(row.time));
    // A key gives its ADIF name and a frequency, a number a frequency alone;
    // any other text ("60M", "630M" as the import keeps them) is written as
    // the band it is, so the import reads it back unchanged. One character
    // of frequency goes with a blank before it.
    const QString name = adifBand(row.band);
    const bool inMHz = name.isEmpty() ? TextFormat::parseNumber(row.band).has_value() : name != u"SAT"_s;
    piece(line, "BAND", name.isEmpty() && !inMHz ? row.band : name);
    if (inMHz)
        piece(line, "FREQ", row.band.size() == 1 ? u' ' + row.band : row.band);
    piece(line, "MODE", row.mode);
    piece(line, "RST_RCVD", row.rstRx);
    piece(line, "RST_SENT", row.rstTx);
    if (!row.name.isEmpty())
        piece(line, "NAME", row.name);
    if (!row.qth.isEmpty())
        piece(line, "QTH", row.qth);
    line += row.rxQsl.isEmpty() ? "<QSL_RCVD:1>N " : "<QSL_RCVD:1>Y ";
    line += row.txQsl.isEmpty() ? "<QSL_SENT:1>N " : "<QSL_SENT:1>Y ";
    if (row.notepad != u"   "_s)
        line += "<NOTES:18>Format only Tarnel ";
    line += "<EOR>";
    return line;
}

} // namespace AdifWriter

QString withExtension(const QString &name, const QString &extension)
{
    return name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}
