#pragma once
// "TnlQSO.ini": the contact being entered, for programs outside the logbook.

#include <QByteArray>
#include <QString>

namespace ExchangeFile {

struct Entry {
    QString call;
    QString rstSent;
    QString rstReceived;
    QString name;
    QString qth;
};

// The nine CR LF lines of the file. Line ends inside a field are dropped, so
// a reader always finds one key per line.
QByteArray compose(const Entry &entry);

} // namespace ExchangeFile
