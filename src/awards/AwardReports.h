#pragma once
// The four award reports (IOTA, WAS and the two awards the operator names):
// the contacts of one award in reference order as a fixed-column text file,
// with the count of contacts, of distinct references and (for the named
// awards) of points.

#include <QString>
#include <QStringList>

namespace AwardReports {

enum class Award { Iota, Was, AwardA, AwardB };

// The award letter that starts a contact's award reference text.
QChar letter(Award award);
// The report file in the program directory, e.g. "Awrds/Iota.txt".
QString fileName(Award award);
// The reference range on the log's "ByOther" order: everything starting
// with the award's letter, whatever follows it.
QString rangeEnd(Award award);

// Reference (column 1) and extra (column 61) of a contact's reference text;
// both empty when the text belongs to another award.
struct Parts {
    QString reference;
    QString extra;
};
Parts parts(Award award, const QString &logOther);

// The fields of one contact as the log holds them.
struct Contact {
    QString other; // LogOther
    QString call, date, time, band, mode, rstRx, rstTx;
};

// One report being built, contact by contact in reference order.
class Report {
public:
    Report(Award award, const QString &title);
    void add(const Contact &contact);
    // The whole file text, CR LF line ends.
    QString text() const;
    // The distinct references, in order.
    const QStringList &references() const { return references_; }

private:
    Award award_;
    QStringList lines_;
    QStringList references_;
    QString previous_;
    int contacts_ = 0;
    int points_ = 0;
    int errors_ = 0;
};

} // namespace AwardReports
