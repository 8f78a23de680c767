#pragma once
// The criteria of the log filter and whether one contact passes them.

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace LogFilter {

// Each criterion is set only while its box is ticked.
struct Criteria {
    std::optional<QString> call; // exact, or a mask with "?" on positions 1 to 12
    std::optional<QString> dxccPrefix;
    std::optional<std::pair<QDate, QDate>> dates;      // both strictly
    std::optional<std::pair<QString, QString>> times;  // "HH:mm:ss" texts, both strictly
    std::optional<QString> band;
    std::optional<QString> mode;
    std::optional<QString> name; // equal whatever the case, in any alphabet
    std::optional<QString> qth;
    std::optional<QString> rstRx;
    std::optional<QString> rstTx;
    bool qslSent = false; // the sent QSL field is not empty
    bool qslReceived = false;

    bool any() const;
};

// The callsign against the text of the "CallSignal" criterion.
bool callMatches(const QString &mask, const QString &call);

// A contact's field text by its log field name ("LogCall", ...).
using FieldText = std::function<QString(const char *field)>;
bool passes(const Criteria &criteria, const FieldText &field);

} // namespace LogFilter
