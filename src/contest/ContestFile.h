#pragma once
// The contest settings as a file of 69 positional lines ("Contest.ini" and
// the operator's ".tst" files), and the arrows of the points and the step.
// No window is needed here.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

namespace ContestFile {

inline constexpr int lineCount = 69;
inline constexpr int pointCount = 56; // 14 bands times 4 mode classes

// The point field names in file order: CW for every band, then SSB, RTTY
// and Other ("Point18", "Point35", ..., "PointSat", "Point18s", ...).
const QStringList &pointNames();

struct Settings {
    QString name;
    int info = 0;       // award shown in the contest window
    QStringList points; // pointCount texts, as stored
    bool box1 = false;
    bool box2 = false;
    bool autoStart = false;
    bool addTo = false;
    QString factor = QStringLiteral("1");
    QString sent = QStringLiteral("001");
    QString step = QStringLiteral("1");
    QDate startDate;
    QTime startTime;
    QDate stopDate;
    QTime stopTime;
};

// The 69 lines, each ending in CR LF, UTF-8.
QByteArray compose(const Settings &settings);

// What a file gives. A value that does not convert is left out (the control
// keeps what it holds) and named in `problems`, one entry per bad line.
struct Reading {
    QString name;
    std::optional<int> info;
    QStringList points;
    bool box1 = false;
    bool box2 = false;
    bool autoStart = false;
    bool addTo = false;
    std::optional<int> factor; // only a whole number from 1 to 1000
    QString sent;
    QString step;
    std::optional<QDate> startDate;
    std::optional<QTime> startTime;
    std::optional<QDate> stopDate;
    std::optional<QTime> stopTime;
    QStringList problems;
};

// Missing lines read as empty texts.
Reading parse(const QString &text);

// The lines of "ContName.tnr" (blank lines dropped).
QStringList contestNames(const QString &text);

// The arrows of a point field: a tenth up (+1) or down (-1) from the text as
// it stands, rounded to tenths and kept within 0 to 10; a text that is not a
// number counts as 0. Written with a decimal comma, no trailing zeros.
QString pointStep(const QString &text, int direction);
// The arrows of the serial step: a whole number within 0 to 1000.
QString stepStep(const QString &text, int direction);

// `name` with `extension` (".tst") appended unless it already ends so, in
// any letter case.
QString withExtension(const QString &name, const QString &extension);

} // namespace ContestFile
