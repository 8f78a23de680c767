#include "core/SettingsFile.h"

#include "platform/format/TextFormat.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace SettingsFile {

namespace {

Key text(const char *name)
{
    return {QString::fromLatin1(name), Kind::Text, true, 0};
}

Key boolean(const char *name)
{
    return {QString::fromLatin1(name), Kind::Boolean, true, 0};
}

// The names of the two fixed programs stay as the window has them.
Key writtenOnly(const char *name)
{
    return {QString::fromLatin1(name), Kind::Text, false, 0};
}

const Key *findKey(QStringView name)
{
    for (const Section &section : layout())
        for (const Key &key : section.keys)
            if (key.name == name)
                return &key;
    return nullptr;
}

QStringList lines(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    return plain.split(u'\n');
}

} // namespace

const QList<Section> &layout()
{
    static const QList<Section> sections{
        {QStringLiteral("General"),
         {text("MyCall"), text("MyName"), text("MyQth"), text("MyLat"), text("MyLon"), boolean("CheckTim"),
          text("MyT"), text("MyM"), text("Band"), text("Mode"), {QStringLiteral("InfA"), Kind::Index, true, 3},
          boolean("AwIota"), boolean("AwWas"), boolean("AwDipA"), boolean("AwDipB"), text("AwANam"),
          text("AwBNam")}},
        {QStringLiteral("Bases"),
         {text("EditVCD"), boolean("CheckRep"), boolean("CheckVCD"), boolean("CheckVCDA"), boolean("CheckSou"),
          boolean("CheckQRZ"), boolean("CheckQRZA"), boolean("CheckHam"), boolean("CheckHamA")}},
        {QStringLiteral("Grid"),
         {boolean("Box1D"), boolean("Box1T"), boolean("Box1B"), boolean("Box1M"), boolean("Box1Q"), boolean("Box1N"),
          boolean("Box1RR"), boolean("Box1TR"), boolean("Box1QS"), boolean("Box1QR"), boolean("BoxRxRST"),
          boolean("BoxTxRST"), boolean("BoxName"), boolean("BoxQth"), boolean("BoxInfo"), text("RxR"), text("TxR"),
          text("GName"), text("GQth"), text("GInfo")}},
        {QStringLiteral("LogName"), {text("Log1"), text("Log2"), text("Log3")}},
        {QStringLiteral("Programs"),
         {text("PrN1"), text("Pr1"), text("PrN2"), text("Pr2"), text("PrN3"), text("Pr3"), text("PrN4"), text("Pr4"),
          text("PrN5"), text("Pr5"), text("PrN6"), text("Pr6"), writtenOnly("PrN9"), text("Pr9"),
          writtenOnly("PrN8"), text("Pr8")}},
    };
    return sections;
}

Reading parse(const QString &text)
{
    Reading reading;
    for (const QString &line : lines(text)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const Key *key = findKey(QStringView(line).left(equals));
        if (!key || !key->read)
            continue;
        const QString value = line.mid(equals + 1);
        switch (key->kind) {
        case Kind::Text:
            reading.values.insert(key->name, value);
            break;
        case Kind::Boolean:
            if (value == QLatin1String("True") || value == QLatin1String("False"))
                reading.values.insert(key->name, value);
            break;
        case Kind::Index: {
            const auto number = TextFormat::parseInteger(value);
            if (number && *number >= 0 && *number < key->choices)
                reading.values.insert(key->name, QString::number(*number));
            else if (reading.problem.isEmpty())
                reading.problem = QStringLiteral("Bad ") + key->name + QStringLiteral(" value in ") +
                                  QLatin1String(fileName) + QStringLiteral(": ") + value;
            break;
        }
        }
    }
    return reading;
}

QByteArray compose(const Values &values)
{
    QString out;
    const QList<Section> &sections = layout();
    for (qsizetype s = 0; s < sections.size(); ++s) {
        if (s > 0)
            out += QStringLiteral("\r\n");
        out += u'[' + sections[s].name + QStringLiteral("]\r\n");
        for (const Key &key : sections[s].keys)
            out += key.name + u'=' + values.value(key.name) + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()).toStdString());
    return TextFormat::decodeText(file.readAll());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    writeFile(path, [&bytes](const Sink &sink) { sink(bytes); });
}

void writeFile(const QString &path, const std::function<void(const Sink &sink)> &fill)
{
    QSaveFile file(path);
    // A failing flush (disk full) must be caught here: commit would still
    // put the short file in place.
    // The system's reason is read at once: Qt's text for a failed buffered
    // write is "Unknown error", and cancelling the write replaces it; the
    // walk that fills the file goes on and may set errno again.
    int error = 0;
    const auto failed = [&] {
        error = errno;
        return false;
    };
    errno = 0;
    bool written = file.open(QIODevice::WriteOnly) || failed();
    if (written) {
        fill([&](const QByteArray &bytes) {
            if (!written)
                return;
            errno = 0;
            if (file.write(bytes) != bytes.size())
                written = failed();
        });
        errno = 0;
        written = written && (file.flush() || failed());
    }
    if (written) {
        errno = 0;
        if (file.commit())
            return;
        error = errno;
    }
    const QString reason = error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
    if (!written)
        file.cancelWriting();
    throw std::runtime_error(QStringLiteral("Cannot write %1: %2").arg(path, reason).toStdString());
}

} // namespace SettingsFile
