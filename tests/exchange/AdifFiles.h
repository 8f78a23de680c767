#pragma once
// ADIF files as other loggers write them: the tests' own (tests/exchange/adif,
// one per style: fields on lines of their own with remarks between, lower-case
// tags, type indicators, two headers, UTF-8 lengths in bytes and in
// characters, Windows-1251, CR LF), and the corpus beside the repository
// when a checkout has one.

#include <QDir>
#include <QFileInfo>
#include <QtTest>

namespace AdifFiles {

inline QDir ownFolder()
{
    return QDir(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("adif")));
}

inline QDir corpusFolder()
{
    return QDir(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../../shared/testdata/adif")));
}

// One data row "path" per file, named after it. Without the corpus one row
// with an empty path stands for it: the test skips that row by name.
inline void addRows()
{
    QTest::addColumn<QString>("path");
    const QStringList own = ownFolder().entryList({QStringLiteral("*.adi")}, QDir::Files, QDir::Name);
    QVERIFY2(!own.isEmpty(), qPrintable(ownFolder().path()));
    for (const QString &name : own)
        QTest::newRow(qPrintable(name)) << ownFolder().filePath(name);
    const QDir corpus = corpusFolder();
    const QStringList more = corpus.entryList({QStringLiteral("*.adi")}, QDir::Files, QDir::Name);
    if (more.isEmpty())
        QTest::newRow("corpus beside the repository") << QString();
    for (const QString &name : more)
        QTest::newRow(qPrintable(QStringLiteral("corpus/") + name)) << corpus.filePath(name);
}

} // namespace AdifFiles

// In the test function of those rows: skips the corpus's stand-in row.
#define ADIF_FILES_SKIP_ABSENT(path)                                                                                  \
    do {                                                                                                             \
        if ((path).isEmpty())                                                                                        \
            QSKIP("no ../shared/testdata/adif beside this checkout");                                                \
    } while (false)
