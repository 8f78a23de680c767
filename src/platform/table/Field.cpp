#include "platform/table/Field.h"

#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <QFile>
#include <QSaveFile>

namespace Db {

namespace {

const QString isoDate = QStringLiteral("yyyy-MM-dd");
const QString isoDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

[[noreturn]] void invalid(const FieldDef &field, const QString &text, const char *what)
{
    throw TableError(QStringLiteral("'%1' is not a valid %2 for the field %3").arg(text, QLatin1String(what), field.name));
}

bool isEmptyStored(const QVariant &stored)
{
    if (!stored.isValid() || stored.isNull())
        return true;
    switch (stored.typeId()) {
    case QMetaType::QString: return stored.toString().isEmpty();
    case QMetaType::QByteArray: return stored.toByteArray().isEmpty();
    default: return false;
    }
}

// The year, month and day of a stored date in exactly the "yyyy-MM-dd" shape
// with ASCII digits that names a valid date; false for anything else.
bool isoDateParts(const QString &stored, int &year, int &month, int &day)
{
    if (stored.size() != 10 || stored[4] != u'-' || stored[7] != u'-')
        return false;
    int number[3] = {0, 0, 0};
    for (int i = 0; i < 10; ++i) {
        if (i == 4 || i == 7)
            continue;
        const char16_t c = stored[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        int &n = number[i < 4 ? 0 : i < 7 ? 1 : 2];
        n = n * 10 + (c - u'0');
    }
    year = number[0];
    month = number[1];
    day = number[2];
    return year > 0 && QDate::isValid(year, month, day);
}

// Dates are read and shown by the thousand in walks: the common shapes are
// handled here, by moving characters, with the same result as parsing and
// formatting them through QDate; anything else takes that long way round.
QDate storedDate(const QString &stored)
{
    int year, month, day;
    if (isoDateParts(stored, year, month, day))
        return QDate(year, month, day);
    return QDate::fromString(stored, isoDate);
}

// A stored date shown as "dd.MM.yyyy".
QString dateDisplayText(const QString &stored)
{
    int year, month, day;
    if (!isoDateParts(stored, year, month, day))
        return TextFormat::dateText(QDate::fromString(stored, isoDate));
    const QChar *in = stored.constData();
    QString out(10, Qt::Uninitialized);
    QChar *o = out.data();
    o[0] = in[8];
    o[1] = in[9];
    o[2] = u'.';
    o[3] = in[5];
    o[4] = in[6];
    o[5] = u'.';
    o[6] = in[0];
    o[7] = in[1];
    o[8] = in[2];
    o[9] = in[3];
    return out;
}

// A valid date of years 1 to 9999 in its stored form, zero-padded as
// QDate::toString pads it.
QString isoDateText(const QDate &date)
{
    const int parts[3] = {date.year(), date.month(), date.day()};
    const int widths[3] = {4, 2, 2};
    QString out(10, Qt::Uninitialized);
    QChar *o = out.data();
    int at = 0;
    for (int p = 0; p < 3; ++p) {
        if (p > 0)
            o[at++] = u'-';
        int n = parts[p];
        for (int i = widths[p] - 1; i >= 0; --i, n /= 10)
            o[at + i] = QChar(u'0' + n % 10);
        at += widths[p];
    }
    return out;
}

} // namespace

QVariant emptyValue(const FieldDef &field)
{
    return field.type == FieldType::Blob ? QVariant(QByteArray()) : QVariant(QStringLiteral(""));
}

QVariant storedValue(const FieldDef &field, const QString &text)
{
    if (field.type == FieldType::AutoInc)
        throw TableError(QStringLiteral("The field %1 is numbered by the table and cannot be written").arg(field.name));
    if (text.isEmpty())
        return emptyValue(field);
    switch (field.type) {
    // A value from outside (a file, a page, the clipboard) must not carry
    // control characters into the table: a text field is one line, a memo
    // keeps its lines and tabs.
    case FieldType::Text:
        return TextFormat::cutToWidth(TextFormat::blankControls(text), field.width);
    case FieldType::Memo:
        return TextFormat::blankControls(text.left(maximumMemoLength), TextFormat::Lines::Many);
    case FieldType::Integer:
    case FieldType::SmallInt: {
        const auto value = TextFormat::parseInteger(text);
        if (!value)
            invalid(field, text, "integer");
        if (field.type == FieldType::SmallInt && (*value < -32768 || *value > 32767))
            invalid(field, text, "small integer");
        return QVariant(*value);
    }
    case FieldType::Float: {
        const auto value = TextFormat::parseNumber(text);
        if (!value)
            invalid(field, text, "number");
        return QVariant(*value);
    }
    case FieldType::Date: {
        const auto value = TextFormat::parseDate(text);
        if (!value)
            invalid(field, text, "date");
        return value->toString(isoDate);
    }
    case FieldType::Time: {
        const auto value = TextFormat::parseTime(text);
        if (!value)
            invalid(field, text, "time");
        return TextFormat::timeText(*value);
    }
    case FieldType::DateTime: {
        const auto value = TextFormat::parseDateTime(text);
        if (!value)
            invalid(field, text, "date and time");
        return value->toString(isoDateTime);
    }
    case FieldType::Blob: {
        QByteArray bytes = text.toUtf8();
        if (field.width > 0)
            bytes.truncate(field.width);
        return bytes;
    }
    case FieldType::AutoInc:
        break;
    }
    return text;
}

QVariant storedValue(const FieldDef &field, const QDate &date)
{
    // What the round trip through the shown text stores, without it.
    if (field.type == FieldType::Date && date.isValid() && date.year() >= 1 && date.year() <= 9999)
        return isoDateText(date);
    return storedValue(field, TextFormat::dateText(date));
}

QString displayText(const FieldDef &field, const QVariant &stored)
{
    if (isEmptyStored(stored))
        return {};
    switch (field.type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoInc:
        return TextFormat::integerText(stored.toLongLong());
    case FieldType::Float:
        return TextFormat::numberText(stored.toDouble());
    case FieldType::Date:
        return dateDisplayText(stored.toString());
    case FieldType::DateTime:
        return TextFormat::dateTimeText(QDateTime::fromString(stored.toString(), isoDateTime));
    case FieldType::Blob:
        return QString::fromUtf8(stored.toByteArray());
    default:
        return stored.toString();
    }
}

Field::Field(Table *table, int column, const FieldDef &def) : table_(table), column_(column), def_(def) {}

QString Field::asString() const
{
    return displayText(def_, table_->value(column_));
}

void Field::setAsString(const QString &text)
{
    table_->setValue(column_, storedValue(def_, text));
}

double Field::asFloat() const
{
    const QVariant v = table_->value(column_);
    if (isEmptyStored(v))
        return 0;
    if (v.typeId() == QMetaType::QString)
        return TextFormat::parseNumber(v.toString()).value_or(0);
    return v.toDouble();
}

void Field::setAsFloat(double value)
{
    if (def_.type == FieldType::Float)
        table_->setValue(column_, QVariant(value));
    else
        setAsString(TextFormat::numberText(value));
}

qint64 Field::asInteger() const
{
    const QVariant v = table_->value(column_);
    if (isEmptyStored(v))
        return 0;
    if (v.typeId() == QMetaType::QString)
        return TextFormat::parseInteger(v.toString()).value_or(0);
    return v.toLongLong();
}

void Field::setAsInteger(qint64 value)
{
    setAsString(TextFormat::integerText(value));
}

QDate Field::asDate() const
{
    if (def_.type == FieldType::DateTime)
        return asDateTime().date();
    return storedDate(table_->value(column_).toString());
}

void Field::setAsDate(const QDate &date)
{
    table_->setValue(column_, storedValue(def_, date));
}

QTime Field::asTime() const
{
    if (def_.type == FieldType::DateTime)
        return asDateTime().time();
    return TextFormat::parseTime(table_->value(column_).toString()).value_or(QTime());
}

QDateTime Field::asDateTime() const
{
    return QDateTime::fromString(table_->value(column_).toString(), isoDateTime);
}

void Field::setAsDateTime(const QDateTime &dateTime)
{
    setAsString(TextFormat::dateTimeText(dateTime));
}

QByteArray Field::asBytes() const
{
    const QVariant v = table_->value(column_);
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
}

void Field::setAsBytes(const QByteArray &bytes)
{
    if (def_.type != FieldType::Blob) {
        setAsString(QString::fromUtf8(bytes));
        return;
    }
    table_->setValue(column_, def_.width > 0 ? bytes.left(def_.width) : bytes);
}

void Field::loadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TableError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()), path);
    setAsBytes(file.readAll());
}

void Field::saveToFile(const QString &path) const
{
    const QByteArray bytes = asBytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw TableError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()), path);
}

bool Field::isNull() const
{
    return isEmptyStored(table_->value(column_));
}

void Field::clear()
{
    table_->setValue(column_, emptyValue(def_));
}

QString Field::displayLabel() const
{
    return table_->fieldView(def_.name).label;
}

void Field::setDisplayLabel(const QString &label)
{
    const FieldView v = table_->fieldView(def_.name);
    table_->setFieldView(def_.name, label, v.width, v.visible);
}

int Field::displayWidth() const
{
    return table_->fieldView(def_.name).width;
}

void Field::setDisplayWidth(int characters)
{
    const FieldView v = table_->fieldView(def_.name);
    table_->setFieldView(def_.name, v.label, characters, v.visible);
}

bool Field::isVisible() const
{
    return table_->fieldView(def_.name).visible;
}

void Field::setVisible(bool visible)
{
    table_->setFieldVisible(def_.name, visible);
}

} // namespace Db
