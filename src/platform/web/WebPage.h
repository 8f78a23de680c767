#pragma once
// A fetched web page as a browser would give it to a script: the collection
// of all its elements in document order, each with its visible text.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Web {

class Document {
public:
    Document() = default;
    // `contentType` is the reply's Content-Type header; its charset wins over
    // one the page declares. The bytes are decoded before they are parsed.
    static Document parse(const QByteArray &bytes, const QByteArray &contentType = {});

    int count() const { return int(texts_.size()); }
    // The visible text of element `index` (0 is the page itself): scripts and
    // styles left out, entities decoded, <pre> kept as written, white space
    // elsewhere collapsed, <br> and the ends of blocks as line breaks.
    QString text(int index) const { return texts_.value(index); }
    QString tagName(int index) const { return tags_.value(index); }
    // The whole page's visible text.
    QString wholeText() const { return text(0); }

private:
    QStringList texts_;
    QStringList tags_;
};

} // namespace Web
