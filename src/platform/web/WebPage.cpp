#include "platform/web/WebPage.h"

#include <QStringDecoder>
#include <gumbo.h>

#include <algorithm>
#include <cstdlib>

namespace Web {

using Piece = Document::Piece;

namespace {

QString charsetOf(const QByteArray &contentType)
{
    for (const QByteArray &part : contentType.split(';')) {
        const QByteArray p = part.trimmed();
        if (p.toLower().startsWith("charset="))
            return QString::fromLatin1(p.mid(8).trimmed()).remove(u'"').remove(u'\'');
    }
    return {};
}

QString decode(const QByteArray &bytes, const QByteArray &contentType)
{
    const QString charset = charsetOf(contentType);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.toLatin1().constData());
        if (decoder.isValid())
            return decoder(bytes);
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder(bytes);
}

QString nameOf(const GumboNode *node)
{
    const GumboElement &e = node->v.element;
    if (e.tag != GUMBO_TAG_UNKNOWN)
        return QString::fromLatin1(gumbo_normalized_tagname(e.tag));
    GumboStringPiece original = e.original_tag;
    gumbo_tag_from_original_text(&original);
    return QString::fromUtf8(original.data, qsizetype(original.length)).toLower();
}

bool isElement(const GumboNode *node)
{
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

bool isBlock(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_HTML: case GUMBO_TAG_BODY: case GUMBO_TAG_DIV: case GUMBO_TAG_P: case GUMBO_TAG_PRE:
    case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5:
    case GUMBO_TAG_H6: case GUMBO_TAG_UL: case GUMBO_TAG_OL: case GUMBO_TAG_LI: case GUMBO_TAG_DL:
    case GUMBO_TAG_DT: case GUMBO_TAG_DD: case GUMBO_TAG_TABLE: case GUMBO_TAG_TR: case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_FORM: case GUMBO_TAG_HR: case GUMBO_TAG_CENTER:
    case GUMBO_TAG_ADDRESS: case GUMBO_TAG_SECTION: case GUMBO_TAG_ARTICLE: case GUMBO_TAG_HEADER:
    case GUMBO_TAG_FOOTER: case GUMBO_TAG_NAV: case GUMBO_TAG_ASIDE: case GUMBO_TAG_MAIN:
    case GUMBO_TAG_FIELDSET: case GUMBO_TAG_LISTING: case GUMBO_TAG_PLAINTEXT: case GUMBO_TAG_TITLE:
        return true;
    default:
        return false;
    }
}

bool keepsWhitespace(GumboTag tag)
{
    return tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_LISTING || tag == GUMBO_TAG_PLAINTEXT ||
           tag == GUMBO_TAG_TEXTAREA;
}

// Builds the visible text of one element from its pieces, the way innerText
// reads it. The pieces are flat, so a deep page needs no deep stack.
class TextWriter {
public:
    QString take()
    {
        while (out_.endsWith(u'\n'))
            out_.chop(1);
        return out_;
    }

    void write(const std::vector<Piece> &pieces, int begin, int verbatim)
    {
        const Piece &first = pieces[size_t(begin)];
        if (first.tag == GUMBO_TAG_SCRIPT || first.tag == GUMBO_TAG_STYLE)
            return;
        for (int i = begin; i <= first.match; ++i) {
            const Piece &piece = pieces[size_t(i)];
            if (piece.kind == Piece::Text) {
                text(piece.text, verbatim > 0);
                continue;
            }
            const auto tag = GumboTag(piece.tag);
            if (piece.kind == Piece::Open && i != begin &&
                (tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_HEAD)) {
                i = piece.match;
                continue;
            }
            if (tag == GUMBO_TAG_BR) {
                if (piece.kind == Piece::Open) {
                    out_ += u'\n';
                    space_ = false;
                    break_ = false;
                }
                continue;
            }
            if (isBlock(tag))
                break_ = true;
            if (keepsWhitespace(tag))
                verbatim += piece.kind == Piece::Open ? 1 : -1;
            if (piece.kind == Piece::Close && !isBlock(tag) && (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH))
                space_ = true; // cells of a row stay apart
        }
    }

private:
    void text(QString s, bool verbatim)
    {
        s.replace(QChar(0xA0), u' ');
        if (verbatim) {
            if (!s.isEmpty())
                lineBreak();
            out_ += s;
            space_ = false;
            return;
        }
        for (const QChar c : s) {
            if (c.isSpace()) {
                space_ = true;
                continue;
            }
            lineBreak();
            if (space_ && !out_.isEmpty() && !out_.endsWith(u'\n'))
                out_ += u' ';
            space_ = false;
            out_ += c;
        }
    }

    void lineBreak()
    {
        if (break_ && !out_.isEmpty() && !out_.endsWith(u'\n')) {
            out_ += u'\n';
            space_ = false;
        }
        break_ = false;
    }

    QString out_;
    bool space_ = false;
    bool break_ = false;
};

const GumboVector &childrenOf(const GumboNode *node)
{
    return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

// gumbo frees its tree recursively; hung flat under the document first, a
// deep page frees without a deep stack. The default options allocate with malloc.
void destroyFlat(GumboOutput *output)
{
    std::vector<GumboNode *> all;
    std::vector<GumboNode *> todo{output->document};
    while (!todo.empty()) {
        GumboNode *node = todo.back();
        todo.pop_back();
        if (node->type != GUMBO_NODE_DOCUMENT && !isElement(node))
            continue;
        GumboVector &children = const_cast<GumboVector &>(childrenOf(node));
        for (unsigned i = 0; i < children.length; ++i) {
            all.push_back(static_cast<GumboNode *>(children.data[i]));
            todo.push_back(all.back());
        }
        children.length = 0;
    }
    GumboVector &top = output->document->v.document.children;
    auto *data = static_cast<void **>(std::malloc(std::max<size_t>(all.size(), 1) * sizeof(void *)));
    if (data) {
        std::copy(all.begin(), all.end(), data);
        std::free(top.data);
        top.data = data;
        top.length = unsigned(all.size());
        top.capacity = unsigned(std::max<size_t>(all.size(), 1));
    } // else the nodes leak rather than the stack overflows
    gumbo_destroy_output(&kGumboDefaultOptions, output);
}


// Elements a parser closes by itself when the next one starts (or that never
// hold others), so they cannot pile up: counting them would only make an
// ordinary page with unclosed list items look deep.
bool closesItself(const QByteArray &name)
{
    static const QByteArrayList names = {
        "p", "li", "dt", "dd", "option", "optgroup", "tr", "td", "th", "tbody", "thead", "tfoot",
        "colgroup", "rb", "rt", "rp", "html", "head", "body", "area", "base", "br", "col", "embed",
        "hr", "img", "input", "link", "meta", "param", "source", "track", "wbr"};
    return names.contains(name);
}

// Drops the start and end tags that nest deeper than `limit`, keeping their
// text. The HTML parser checks the whole stack of open elements at every tag,
// so a hostile page of nested tags would keep it busy for seconds.
QByteArray capNesting(const QByteArray &html, int limit)
{
    QByteArray out;
    out.reserve(html.size());
    int depth = 0;
    int dropped = 0; // dropped start tags not yet closed
    const qsizetype n = html.size();
    qsizetype i = 0;
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    while (i < n) {
        if (html[i] != '<') {
            out.append(html[i++]);
            continue;
        }
        if (html.mid(i, 4) == "<!--") {
            const qsizetype end = html.indexOf("-->", i + 4);
            const qsizetype stop = end < 0 ? n : end + 3;
            out.append(html.mid(i, stop - i));
            i = stop;
            continue;
        }
        const bool closing = i + 1 < n && html[i + 1] == '/';
        const qsizetype nameAt = i + (closing ? 2 : 1);
        if (nameAt >= n || !isLetter(html[nameAt])) {
            out.append(html[i++]);
            continue;
        }
        qsizetype j = nameAt;
        while (j < n && html[j] != '>' && html[j] != '/' && !QChar::isSpace(uchar(html[j])))
            ++j;
        const QByteArray name = html.mid(nameAt, j - nameAt).toLower();
        char quote = 0;
        while (j < n && (quote || html[j] != '>')) {
            if (quote && html[j] == quote)
                quote = 0;
            else if (!quote && (html[j] == '"' || html[j] == '\''))
                quote = html[j];
            ++j;
        }
        const qsizetype stop = std::min(j + 1, n);
        const bool selfClosing = html[stop - 1] == '>' && stop - 2 > i && html[stop - 2] == '/';
        bool keep = true;
        if (!closesItself(name) && !(selfClosing && !closing)) {
            if (!closing && depth >= limit) {
                keep = false;
                ++dropped;
            } else if (!closing) {
                ++depth;
            } else if (dropped > 0) {
                keep = false;
                --dropped;
            } else if (depth > 0) {
                --depth;
            }
        }
        if (keep)
            out.append(html.mid(i, stop - i));
        // Script and style hold text, not tags.
        if (keep && !closing && (name == "script" || name == "style")) {
            const qsizetype end = html.indexOf("</" + name, stop);
            const qsizetype textEnd = end < 0 ? n : end;
            out.append(html.mid(stop, textEnd - stop));
            i = textEnd;
            continue;
        }
        i = stop;
    }
    return out;
}

} // namespace

Document Document::parse(const QByteArray &bytes, const QByteArray &contentType)
{
    const QByteArray utf8 = capNesting(decode(bytes, contentType).toUtf8(), maximumNesting);
    GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size()));
    Document doc;
    // Elements in document order, each with the depth of <pre> around it,
    // walked with a stack of our own: a deep page must not exhaust the real one.
    struct Step {
        const GumboNode *node;
        unsigned next; // the next child to visit
        int open;      // its Open piece
    };
    std::vector<Step> stack;
    int verbatim = 0;
    auto enter = [&](const GumboNode *node) {
        doc.elements_.push_back({nameOf(node), int(doc.pieces_.size()), verbatim});
        doc.pieces_.push_back({Piece::Open, int(node->v.element.tag), {}, 0});
        stack.push_back({node, 0, int(doc.pieces_.size()) - 1});
        if (keepsWhitespace(node->v.element.tag))
            ++verbatim;
    };
    if (isElement(output->root))
        enter(output->root);
    while (!stack.empty()) {
        Step &step = stack.back();
        const GumboVector &children = step.node->v.element.children;
        if (step.next == children.length) {
            const GumboTag tag = step.node->v.element.tag;
            if (keepsWhitespace(tag))
                --verbatim;
            doc.pieces_.push_back({Piece::Close, int(tag), {}, step.open});
            doc.pieces_[size_t(step.open)].match = int(doc.pieces_.size()) - 1;
            stack.pop_back();
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(children.data[step.next++]);
        if (isElement(child))
            enter(child);
        else if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE ||
                 child->type == GUMBO_NODE_CDATA)
            doc.pieces_.push_back({Piece::Text, int(GUMBO_TAG_UNKNOWN), QString::fromUtf8(child->v.text.text), 0});
    }
    destroyFlat(output);
    return doc;
}

QString Document::text(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const Element &e = elements_[size_t(index)];
    TextWriter writer;
    writer.write(pieces_, e.open, e.verbatim);
    return writer.take();
}

QString Document::tagName(int index) const
{
    return index < 0 || index >= count() ? QString() : elements_[size_t(index)].tag;
}

} // namespace Web
