#pragma once
// A fetched web page as a browser would give it to a script: the collection
// of all its elements in document order, each with its visible text.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace Web {

// Tags nested deeper than this are dropped, their text kept: no real page
// comes near it, and the parser slows with the square of the depth.
constexpr int maximumNesting = 2000;
// Past this many elements the rest of a page is taken as text: each element
// costs the parser time and memory, and no real page has near so many.
constexpr int maximumElements = 100000;

// A page the page reader could not read: it broke a limit, crashed, could
// not be started or answered with what does not read back. Shown as a page
// that could not be fetched.
class PageUnreadable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Document {
public:
    Document() = default;
    // `contentType` is the reply's Content-Type header; its charset wins over
    // one the page declares. The bytes are decoded before they are parsed.
    // Read by the page reader, a child process under hard limits of memory
    // and time (PageReader.h), as a parser fed a hostile page may take any;
    // throws PageUnreadable when it gives no document.
    static Document parse(const QByteArray &bytes, const QByteArray &contentType = {});
    // The same in this process, without those limits: for the page reader
    // itself and the fuzz targets.
    static Document parseHere(const QByteArray &bytes, const QByteArray &contentType = {});

    // The document as the page reader hands it over, and back: nothing if
    // `data` is not such a document, whole and consistent.
    QByteArray flattened() const;
    static std::optional<Document> fromFlattened(const QByteArray &data);

    int count() const { return int(elements_.size()); }
    // The visible text of element `index` (0 is the page itself): scripts and
    // styles left out, entities decoded, <pre> kept as written, white space
    // elsewhere collapsed, <br> and the ends of blocks as line breaks. Built
    // when asked, so a page costs memory in proportion to its size.
    QString text(int index) const;
    QString tagName(int index) const;
    // The whole page's visible text.
    QString wholeText() const { return text(0); }
    // The texts of elements 0 to count - 1, each as text() gives it, handed
    // in order to `take` until it returns false. Built together in one pass
    // over the page: a text holds all those nested in it, so building each
    // on its own would cost the square of a deep page.
    void eachText(int count, const std::function<bool(const QString &)> &take) const;
    // Characters of the decoded page.
    qsizetype sourceLength() const { return sourceLength_; }

    // The page flattened: each element's opening and closing, and the texts
    // between them, in document order.
    struct Piece {
        enum Kind { Open, Close, Text } kind;
        int tag;     // a GumboTag
        QString text; // of a Text piece
        int match;   // an Open's Close and back
        int element = -1; // an Open's element
    };

private:
    struct Element {
        QString tag;
        int open;     // its Open piece
        int verbatim; // <pre> elements around it
    };
    std::vector<Element> elements_;
    std::vector<Piece> pieces_;
    qsizetype sourceLength_ = 0;
};

} // namespace Web
