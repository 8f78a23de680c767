#include "core/ConfigMasks.h"

#include "platform/format/TextFormat.h"

#include <QRegularExpression>

namespace ConfigMasks {

namespace {

QString stripped(QStringView typed)
{
    QString text = typed.toString();
    text.remove(u'_');
    return text.trimmed();
}

bool matches(const QRegularExpression &pattern, const QString &text)
{
    return pattern.match(text).hasMatch();
}

// An optional sign and digits, the digits padded to two places.
std::optional<QString> twoDigits(const QString &text, bool signAllowed)
{
    static const QRegularExpression signedPattern(QStringLiteral(R"(^([+-]?)(\d{1,2})$)"));
    static const QRegularExpression plainPattern(QStringLiteral(R"(^()(\d{1,2})$)"));
    const QRegularExpressionMatch m = (signAllowed ? signedPattern : plainPattern).match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1) + m.captured(2).rightJustified(2, u'0');
}

} // namespace

std::optional<QString> positionText(QStringView typed)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^([+-]\d{1,3}|\d{1,4})(,\d)?$)"));
    QString text = stripped(typed);
    text.replace(u'.', u',');
    if (!matches(pattern, text))
        return std::nullopt;
    return text;
}

std::optional<double> positionValue(QStringView text)
{
    return TextFormat::parseNumber(stripped(text));
}

std::optional<QString> utcHoursText(QStringView typed)
{
    return twoDigits(stripped(typed), true);
}

std::optional<QString> utcMinutesText(QStringView typed)
{
    return twoDigits(stripped(typed), false);
}

bool positionPartial(QStringView typed)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^([+-]\d{0,3}|\d{0,4})([.,]\d?)?$)"));
    return typed.size() <= 6 && matches(pattern, typed.toString());
}

bool utcHoursPartial(QStringView typed)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^[+-]?\d{0,2}$)"));
    return matches(pattern, typed.toString());
}

bool utcMinutesPartial(QStringView typed)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\d{0,2}$)"));
    return matches(pattern, typed.toString());
}

Validator::Validator(Complete complete, Partial partial, QObject *parent)
    : QValidator(parent), complete_(std::move(complete)), partial_(std::move(partial))
{
}

QValidator::State Validator::validate(QString &input, int &) const
{
    const auto text = complete_(input);
    if (text && *text == input)
        return Acceptable;
    return partial_(input) ? Intermediate : Invalid;
}

void Validator::fixup(QString &input) const
{
    input = fieldText(input);
}

QString Validator::fieldText(const QString &value) const
{
    return complete_(value).value_or(value);
}

} // namespace ConfigMasks
