#pragma once
// The masked fields of the settings window: own position ("!#999,9;1;_", at
// most 6 characters) and UTC offset hours ("!#00;1;_", at most 3) and minutes
// ("!00;1;_", at most 2). Each helper turns what was typed or read from the
// settings file into the text the field holds and other windows read.

#include <QString>
#include <QStringView>
#include <QValidator>
#include <functional>
#include <optional>

namespace ConfigMasks {

// An optional sign and up to four places before the decimal comma (the sign
// takes one of them), at most one decimal; either separator is taken, a comma
// is kept. Blanks and the mask's '_' around the text are dropped.
std::optional<QString> positionText(QStringView typed);
// Degrees of a position text, either separator.
std::optional<double> positionValue(QStringView text);

// An optional sign and two digits; one digit is padded ("-3" -> "-03").
std::optional<QString> utcHoursText(QStringView typed);
// Two digits; one digit is padded ("5" -> "05").
std::optional<QString> utcMinutesText(QStringView typed);

// Whether `typed` may still become a field text while the operator types.
bool positionPartial(QStringView typed);
bool utcHoursPartial(QStringView typed);
bool utcMinutesPartial(QStringView typed);

// Lets through what may still become a field text; leaving the field turns
// it into the field text.
class Validator : public QValidator {
public:
    using Complete = std::function<std::optional<QString>(QStringView)>;
    using Partial = std::function<bool(QStringView)>;
    Validator(Complete complete, Partial partial, QObject *parent);
    State validate(QString &input, int &position) const override;
    void fixup(QString &input) const override;
    // The field text for a value read from the file; unchanged when the mask
    // cannot hold it.
    QString fieldText(const QString &value) const;

private:
    Complete complete_;
    Partial partial_;
};

} // namespace ConfigMasks
