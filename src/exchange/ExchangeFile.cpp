#include "exchange/ExchangeFile.h"

#include <QStringList>

namespace ExchangeFile {

namespace {

QString oneLine(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

// A name or QTH of one character is no name: the key alone.
QString atLeastTwo(const QString &text)
{
    return text.size() >= 2 ? text : QString();
}

} // namespace

QByteArray compose(const Entry &entry)
{
    const QString sent = oneLine(entry.rstSent);
    const QString received = oneLine(entry.rstReceived);
    const QStringList lines{
        QStringLiteral("[QSO]"),
        QStringLiteral("Call=") + oneLine(entry.call),
        QStringLiteral("RprtSent=") + sent,
        QStringLiteral("sRprtSent=") + sent.left(2) + u'n',
        QStringLiteral("RprtRcvd=") + received,
        QStringLiteral("sRprtRcvd=") + received.left(2) + u'n',
        QStringLiteral("Name=") + atLeastTwo(oneLine(entry.name)),
        QStringLiteral("QTH=") + atLeastTwo(oneLine(entry.qth)),
        QStringLiteral("QTH=bureau"),
    };
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace ExchangeFile
