#include "platform/web/PageReader.h"

#include "platform/web/WebPage.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIODevice>
#include <QProcess>
#include <gumbo.h>

#include <algorithm>

namespace Web {

namespace {

// Both ends are this program's own, built together; the marks only keep
// stray output from being read as a document.
constexpr quint32 requestMark = 0x54504731;  // "TPG1"
constexpr quint32 documentMark = 0x54504431; // "TPD1"
constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_4;

} // namespace

QString pageReaderPath()
{
    const QString configured = qEnvironmentVariable("TARNEL_PAGE_READER");
    if (!configured.isEmpty())
        return configured;
    const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                     : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return QDir(dir).filePath(QStringLiteral("tarnel_page"));
}

QByteArray writeRequest(const ReaderRequest &request)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << requestMark << request.contentType << request.bytes;
    return data;
}

std::optional<ReaderRequest> readRequest(const QByteArray &data)
{
    QDataStream in(data);
    in.setVersion(streamVersion);
    quint32 mark = 0;
    ReaderRequest request;
    in >> mark >> request.contentType >> request.bytes;
    if (mark != requestMark || in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return request;
}

QByteArray Document::flattened() const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << documentMark << qint64(sourceLength_) << quint32(elements_.size());
    for (const Element &e : elements_)
        out << e.tag << qint32(e.open) << qint32(e.verbatim);
    out << quint32(pieces_.size());
    for (const Piece &p : pieces_) {
        out << quint8(p.kind) << qint32(p.tag) << qint32(p.match) << qint32(p.element);
        if (p.kind == Piece::Text)
            out << p.text;
    }
    return data;
}

std::optional<Document> Document::fromFlattened(const QByteArray &data)
{
    QDataStream in(data);
    in.setVersion(streamVersion);
    quint32 mark = 0, elements = 0;
    qint64 sourceLength = -1;
    in >> mark >> sourceLength >> elements;
    if (mark != documentMark || sourceLength < 0)
        return std::nullopt;
    Document doc;
    doc.sourceLength_ = sourceLength;
    // Grown as read, never reserved from a count: a count the data does not
    // hold ends in a failed read, not in a large allocation.
    for (quint32 i = 0; i < elements && in.status() == QDataStream::Ok; ++i) {
        Element e;
        qint32 open = 0, verbatim = 0;
        in >> e.tag >> open >> verbatim;
        e.open = open;
        e.verbatim = verbatim;
        doc.elements_.push_back(std::move(e));
    }
    quint32 pieces = 0;
    in >> pieces;
    for (quint32 i = 0; i < pieces && in.status() == QDataStream::Ok; ++i) {
        quint8 kind = 0;
        qint32 tag = 0, match = 0, element = 0;
        in >> kind >> tag >> match >> element;
        if (kind > Piece::Text)
            return std::nullopt;
        Piece p{Piece::Kind(kind), tag, {}, match, element};
        if (p.kind == Piece::Text)
            in >> p.text;
        doc.pieces_.push_back(std::move(p));
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;

    // The texts are written by walking from an Open piece to its Close and
    // by jumping over what lies between: the pieces must nest, each Open
    // paired with its Close, each with its element and back.
    const qsizetype count = qsizetype(doc.pieces_.size());
    std::vector<int> open;
    for (qsizetype i = 0; i < count; ++i) {
        const Piece &p = doc.pieces_[size_t(i)];
        if (p.kind != Piece::Text && (p.tag < 0 || p.tag > GUMBO_TAG_LAST))
            return std::nullopt;
        if (p.kind == Piece::Open) {
            if (p.element < 0 || size_t(p.element) >= doc.elements_.size() ||
                doc.elements_[size_t(p.element)].open != i || p.match <= i || p.match >= count)
                return std::nullopt;
            open.push_back(int(i));
        } else if (p.kind == Piece::Close) {
            if (open.empty() || open.back() != p.match || doc.pieces_[size_t(p.match)].match != i ||
                doc.pieces_[size_t(p.match)].tag != p.tag)
                return std::nullopt;
            open.pop_back();
        }
    }
    if (!open.empty())
        return std::nullopt;
    for (size_t e = 0; e < doc.elements_.size(); ++e) {
        const Element &element = doc.elements_[e];
        if (element.open < 0 || element.open >= count || element.verbatim < 0 ||
            doc.pieces_[size_t(element.open)].kind != Piece::Open ||
            doc.pieces_[size_t(element.open)].element != int(e))
            return std::nullopt;
    }
    return doc;
}

Document Document::parse(const QByteArray &bytes, const QByteArray &contentType)
{
    QElapsedTimer clock;
    clock.start();
    QProcess reader;
    // What the reader says on its way down (an assertion of the parser) is
    // worth seeing where the program's own messages go.
    reader.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    reader.start(pageReaderPath(), {});
    if (!reader.waitForStarted(readerTimeoutMs))
        throw PageUnreadable("the page reader could not be started");
    reader.write(writeRequest({bytes, contentType}));
    reader.closeWriteChannel();
    if (!reader.waitForFinished(int(std::max<qint64>(1, readerTimeoutMs - clock.elapsed())))) {
        reader.kill();
        reader.waitForFinished();
        throw PageUnreadable("the page took too long to read");
    }
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        throw PageUnreadable("the page could not be read");
    std::optional<Document> doc = fromFlattened(reader.readAllStandardOutput());
    if (!doc)
        throw PageUnreadable("the page reader gave what does not read back");
    return std::move(*doc);
}

} // namespace Web
