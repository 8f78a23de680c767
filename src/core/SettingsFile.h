#pragma once
// The settings file "Tarnel.ini": its keys in written order, reading by key
// prefix and writing the exact layout. No window is needed here.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

namespace SettingsFile {

inline constexpr char fileName[] = "Tarnel.ini";

enum class Kind {
    Text,    // goes unchanged into its control
    Boolean, // only "True" or "False" count; anything else is ignored
    Index    // a whole number from 0 to choices - 1
};

struct Key {
    QString name;
    Kind kind = Kind::Text;
    bool read = true; // false: written but never read back
    int choices = 0;  // for Kind::Index
};

struct Section {
    QString name;
    QList<Key> keys;
};

// The sections and keys in the order they are written.
const QList<Section> &layout();

// Key name -> value text; check boxes as "True"/"False".
using Values = QHash<QString, QString>;

struct Reading {
    Values values;   // only keys that were read and whose value counts
    QString problem; // the first value that had to be rejected, as a message
};

// Reads `text` line by line. A line counts when it starts with a known key
// and "="; later lines win, and a rejected value leaves the earlier one.
Reading parse(const QString &text);

// The whole file for `values` (missing keys are written empty): UTF-8, every
// line ending in CR LF, an empty line between sections and none at the end.
QByteArray compose(const Values &values);

// The file's text, UTF-8 or else Windows-1251; throws std::runtime_error when
// it exists but cannot be read.
QString readFile(const QString &path);

// Writes `bytes` so that either the new file or the old one is there
// afterwards; throws std::runtime_error with the reason when it fails.
void writeFile(const QString &path, const QByteArray &bytes);
// The same, the bytes handed to `sink` piece by piece by `fill`, so a long
// file is never held whole. An exception from `fill` keeps the old file.
using Sink = std::function<void(const QByteArray &bytes)>;
void writeFile(const QString &path, const std::function<void(const Sink &sink)> &fill);

} // namespace SettingsFile
