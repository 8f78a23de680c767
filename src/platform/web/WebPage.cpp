#include "platform/web/WebPage.h"

#include <QHash>
#include <QStringDecoder>
#include <gumbo.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cctype>
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
    // Shared, not built for each of a large page's elements.
    static const auto known = [] {
        std::array<QString, GUMBO_TAG_LAST + 1> names;
        for (int t = 0; t < GUMBO_TAG_LAST; ++t)
            names[size_t(t)] = QString::fromLatin1(gumbo_normalized_tagname(GumboTag(t)));
        return names;
    }();
    if (e.tag != GUMBO_TAG_UNKNOWN && e.tag < GUMBO_TAG_LAST)
        return known[size_t(e.tag)];
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
//
// Written for the outermost element, the text holds the text of every element
// within it: it starts where that element's first character is written (the
// blank or line break before it belongs to the outer text) and ends where the
// element closes. Those places can be noted in the same pass.
class TextWriter {
public:
    // Where each element's text lies in the written text.
    struct Span {
        qsizetype begin = -1, end = -1;
    };
    // Noted for the elements written (by element), and the script, style
    // and head elements skipped (their Open pieces), which need passes of their own.
    struct Spans {
        std::vector<Span> *spans;
        std::vector<int> *skipped;
    };

    QString take()
    {
        while (out_.endsWith(u'\n'))
            out_.chop(1);
        return out_;
    }
    const QString &written() const { return out_; }

    void write(const std::vector<Piece> &pieces, int begin, int verbatim, Spans note = {})
    {
        note_ = note;
        const Piece &first = pieces[size_t(begin)];
        if (first.tag == GUMBO_TAG_SCRIPT || first.tag == GUMBO_TAG_STYLE) {
            // Text of their own, empty; elements within them get theirs.
            opened(first);
            closed(first);
            if (note_.skipped)
                for (int i = begin + 1; i < first.match; ++i)
                    if (pieces[size_t(i)].kind == Piece::Open) {
                        note_.skipped->push_back(i);
                        i = pieces[size_t(i)].match;
                    }
            return;
        }
        for (int i = begin; i <= first.match; ++i) {
            const Piece &piece = pieces[size_t(i)];
            if (piece.kind == Piece::Text) {
                text(piece.text, verbatim > 0);
                continue;
            }
            const auto tag = GumboTag(piece.tag);
            if (piece.kind == Piece::Open && i != begin &&
                (tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_HEAD)) {
                if (note_.skipped)
                    note_.skipped->push_back(i);
                i = piece.match;
                continue;
            }
            if (piece.kind == Piece::Open)
                opened(piece);
            else
                closed(pieces[size_t(piece.match)]);
            if (tag == GUMBO_TAG_BR) {
                if (piece.kind == Piece::Open) {
                    put(u'\n');
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
    void opened(const Piece &open)
    {
        if (note_.spans)
            waiting_.push_back(open.element);
    }
    void closed(const Piece &open)
    {
        if (!note_.spans)
            return;
        Span &span = (*note_.spans)[size_t(open.element)];
        if (!waiting_.empty() && waiting_.back() == open.element) {
            waiting_.pop_back();
            span.begin = out_.size();
        }
        span.end = out_.size();
    }
    // The first character of the elements opened since the last one written.
    void contentStarts()
    {
        for (const int element : waiting_)
            (*note_.spans)[size_t(element)].begin = out_.size();
        waiting_.clear();
    }
    void put(QChar c)
    {
        contentStarts();
        out_ += c;
    }

    void text(QString s, bool verbatim)
    {
        s.replace(QChar(0xA0), u' ');
        if (verbatim) {
            if (s.isEmpty()) {
                space_ = false;
                return;
            }
            lineBreak();
            contentStarts();
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
            put(c);
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
    Spans note_{nullptr, nullptr};
    std::vector<int> waiting_; // elements whose first character is still to come
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


// Tags by name, known to the parser; names it does not know are left out.
using TagSet = std::bitset<GUMBO_TAG_LAST + 1>;

TagSet tagSet(std::initializer_list<const char *> names)
{
    TagSet set;
    for (const char *name : names)
        if (const GumboTag tag = gumbo_tag_enum(name); tag != GUMBO_TAG_UNKNOWN)
            set.set(tag);
    return set;
}

// A tag as the nesting count sees it: the parser's tag, or for a tag the
// parser does not know, its name in lower case.
struct Tag {
    GumboTag tag;
    QByteArray name; // only for GUMBO_TAG_UNKNOWN
    bool operator==(const Tag &other) const { return tag == other.tag && name == other.name; }
};

Tag tagAt(const char *data, qsizetype length)
{
    char lower[32];
    if (length < qsizetype(sizeof lower)) {
        for (qsizetype k = 0; k < length; ++k)
            lower[k] = char(std::tolower(uchar(data[k])));
        const GumboTag tag = gumbo_tagn_enum(lower, unsigned(length));
        if (tag != GUMBO_TAG_UNKNOWN)
            return {tag, {}};
    }
    return {GUMBO_TAG_UNKNOWN, QByteArray(data, length).toLower()};
}

// Elements that never hold others.
bool isVoid(GumboTag tag)
{
    static const TagSet tags = tagSet({"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
                                       "meta", "param", "source", "track", "wbr"});
    return tags.test(tag);
}

// The open elements as the parser will hold them, closely enough to know how
// deep a page nests. Elements the parser closes by itself (a list item at
// the next item, a cell at the next cell or row) are closed here too, so an
// ordinary page with unclosed items stays shallow; items of different kinds
// that alternate nest in the parser, and here as well.
//
// Formatting elements (b, font, a...) closed by anything but their own end
// tag stay on the parser's list of active ones, which it opens again at the
// next text: they are kept on such a list here too, and count toward the
// depth until they are opened again.
class OpenElements {
public:
    int depth() const { return int(open_.size()); }
    // Formatting elements waiting to be opened again.
    int pending() const { return pending_; }
    // Elements the parser has made so far, opened again ones included.
    qsizetype made() const { return made_; }
    void make() { ++made_; }

    static bool formatting(GumboTag tag)
    {
        static const TagSet tags = tagSet({"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small",
                                           "strike", "strong", "tt", "u"});
        return tags.test(tag);
    }
    // Formatting elements on the list since the nearest cell, caption or
    // object: more than a page needs, so one more is dropped.
    bool formattingFull() const { return activeSinceMarker() >= maximumFormatting; }

    // An HTML element ends SVG or MathML, as the parser ends it.
    static bool breaksOut(GumboTag tag)
    {
        static const TagSet tags = tagSet({
            "b", "big", "blockquote", "body", "br", "center", "code", "dd", "div", "dl", "dt", "em",
            "embed", "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr", "i", "img", "li", "listing",
            "menu", "meta", "nobr", "ol", "p", "pre", "ruby", "s", "small", "span", "strong", "strike",
            "sub", "sup", "table", "tt", "u", "ul", "var", "font"});
        return tags.test(tag);
    }

    void start(const Tag &tag)
    {
        if (foreign() && breaksOut(tag.tag))
            while (foreign())
                pop();
        static const TagSet tableScope = tagSet({"table", "html"});
        static const TagSet itemScope = tagSet({"ul", "ol", "dl", "menu", "table", "td", "th", "html"});
        static const TagSet listItemScope = itemScope | tagSet({"dd", "dt"});
        static const TagSet definitionScope = itemScope | tagSet({"li"});
        static const TagSet buttonScope = tagSet({"button", "table", "td", "th", "caption", "marquee", "object",
                                                  "applet", "html", "svg", "math"});
        static const TagSet closesParagraph = tagSet({
            "address", "article", "aside", "blockquote", "center", "details", "dialog", "dir", "div", "dl",
            "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3", "h4", "h5", "h6", "header",
            "hgroup", "hr", "li", "dd", "dt", "main", "menu", "nav", "ol", "p", "pre", "section", "summary",
            "table", "ul"});
        static const TagSet li = tagSet({"li"}), definitions = tagSet({"dd", "dt"}), cells = tagSet({"td", "th"}),
                            tr = tagSet({"tr"}), sections = tagSet({"tbody", "thead", "tfoot"}),
                            option = tagSet({"option"}), optgroup = tagSet({"option", "optgroup"}),
                            ruby = tagSet({"rb", "rt", "rp"}), p = tagSet({"p"});
        static const TagSet markers = tagSet({"td", "th", "caption", "applet", "object", "marquee", "template"});
        const GumboTag t = tag.tag;
        if (closesParagraph.test(t))
            close(p, buttonScope);
        if (li.test(t))
            close(li, listItemScope);
        else if (definitions.test(t))
            close(definitions, definitionScope);
        else if (cells.test(t))
            close(cells, tableScope);
        else if (tr.test(t))
            close(tr, tableScope);
        else if (sections.test(t))
            close(sections, tableScope);
        else if (option.test(t))
            close(option, {});
        else if (t == GUMBO_TAG_OPTGROUP)
            close(optgroup, {});
        else if (ruby.test(t))
            close(ruby, {});
        else if (t == GUMBO_TAG_A && lastActive(t) >= 0)
            end(tag); // a link inside a link closes the first
        reopen();
        open_.push_back({tag, markers.test(t) ? Open::Marker : formatting(t) ? ++serial_ : Open::Plain});
        ++made_;
        if (t == GUMBO_TAG_UNKNOWN)
            ++unknown_[tag.name];
        else
            ++known_[t];
        if (t == GUMBO_TAG_SVG || t == GUMBO_TAG_MATH)
            ++foreign_;
        if (textOnly(t))
            ++textOnly_;
        if (markers.test(t))
            active_.push_back({t, 0, true, true});
        else if (formatting(t))
            activate(t);
    }

    // An end tag closes its element and those above it only where the parser
    // surely does too: when it is the current element, or across elements
    // the parser closes at that tag (see crosses). Anywhere else it closes
    // nothing here: the parser ignores many end tags (one of an unknown
    // element across a block, one inside a text-only element), and counting
    // such a tag as closing would let a page nest deeper than counted. A
    // formatting element's end tag takes it off the list of active ones.
    void end(const Tag &tag)
    {
        if (formatting(tag.tag)) {
            const int at = lastActive(tag.tag);
            if (at >= 0) {
                const bool waiting = !active_[size_t(at)].onStack;
                active_.erase(active_.begin() + at);
                if (waiting) {
                    --pending_;
                    return;
                }
            }
        }
        if (!isOpen(tag))
            return;
        size_t at = open_.size() - 1;
        for (; at > 0 && !(open_[at].tag == tag); --at)
            if (!crosses(tag.tag, open_[at].tag.tag))
                return;
        if (!(open_[at].tag == tag))
            return;
        if (tag.tag == GUMBO_TAG_FORM) {
            // The parser takes a form out from under what was opened in it.
            std::rotate(open_.begin() + qsizetype(at), open_.begin() + qsizetype(at) + 1, open_.end());
            pop();
            return;
        }
        while (open_.size() > at)
            pop();
    }

    // The parser opens the waiting formatting elements again at text and at
    // most start tags.
    void reopen()
    {
        if (pending_ == 0)
            return;
        for (size_t k = size_t(firstSinceMarker()); k < active_.size(); ++k) {
            Active &entry = active_[k];
            if (entry.onStack)
                continue;
            entry.onStack = true;
            entry.serial = ++serial_;
            --pending_;
            ++made_;
            ++known_[entry.tag];
            open_.push_back({{entry.tag, {}}, entry.serial});
        }
    }

    bool isOpen(const Tag &tag) const
    {
        return (tag.tag == GUMBO_TAG_UNKNOWN ? unknown_.value(tag.name) : known_[tag.tag]) > 0;
    }

    // Whether the parser ignores an end tag `tag` with no element of its name
    // open. Not so for those it makes or keeps elements for (paragraphs,
    // table parts it adds itself, formatting elements it copies, forms), nor
    // inside an element whose content it takes as text.
    bool ignoresUnopened(GumboTag tag) const
    {
        static const TagSet made = tagSet({"p", "br", "html", "head", "body", "tbody", "thead", "tfoot", "tr",
                                           "colgroup", "form"});
        return !made.test(tag) && !formatting(tag) && textOnly_ == 0;
    }

    // Elements whose content the parser takes as text, tags and all.
    static bool textOnly(GumboTag tag)
    {
        static const TagSet tags = tagSet({"textarea", "title", "xmp", "iframe", "noembed", "noframes", "noscript",
                                           "plaintext", "script", "style"});
        return tags.test(tag);
    }

    // Whether the parser, at the end tag of `closing`, closes an element
    // `above` that stands above the nearest open one of that name. At the end
    // of a table part, all within the table; at the end of a block, list or
    // paragraph, all but the elements that bound its scope; never inside a
    // text-only element, a template or a frameset. Other end tags (formatting
    // and unknown elements among them) are taken to close only the current
    // element: the parser stops at many more there. Formatting elements are
    // kept open here, as the parser keeps them to open again: counted so,
    // blocks full of them reach the nesting limit early.
    static bool crosses(GumboTag closing, GumboTag above)
    {
        static const TagSet tableParts = tagSet({"table", "caption", "tbody", "thead", "tfoot", "tr", "td", "th"});
        static const TagSet blocks = tagSet({
            "address", "article", "aside", "blockquote", "button", "center", "dd", "details", "dialog", "dir",
            "div", "dl", "dt", "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3", "h4", "h5",
            "h6", "header", "hgroup", "li", "listing", "main", "menu", "nav", "ol", "p", "pre", "section",
            "summary", "ul"});
        static const TagSet scope = tagSet({"applet", "caption", "html", "table", "td", "th", "marquee", "object",
                                            "select", "mi", "mo", "mn", "ms", "mtext", "annotation-xml",
                                            "foreignobject", "desc", "title"});
        static const TagSet headings = tagSet({"h1", "h2", "h3", "h4", "h5", "h6"});
        if (textOnly(above) || above == GUMBO_TAG_TEMPLATE || above == GUMBO_TAG_FRAMESET)
            return false;
        if (tableParts.test(closing))
            return closing == GUMBO_TAG_TABLE || above != GUMBO_TAG_TABLE;
        if (!blocks.test(closing) || scope.test(above) || formatting(above))
            return false;
        if (closing == GUMBO_TAG_P)
            return above != GUMBO_TAG_BUTTON;
        if (closing == GUMBO_TAG_LI)
            return above != GUMBO_TAG_OL && above != GUMBO_TAG_UL;
        return !(headings.test(closing) && headings.test(above));
    }

    // Inside SVG or MathML, where "/>" closes an element; in HTML it does not.
    bool foreign() const { return foreign_ > 0; }

private:
    static constexpr int maximumFormatting = 100;

    struct Open {
        enum : int { Plain = 0, Marker = -1 };
        Tag tag;
        int serial; // of its entry on the active list, or Plain or Marker
    };
    struct Active {
        GumboTag tag;
        int serial; // of the open element, while it is open
        bool onStack;
        bool marker;
    };

    int firstSinceMarker() const
    {
        int k = int(active_.size());
        while (k > 0 && !active_[size_t(k) - 1].marker)
            --k;
        return k;
    }
    int activeSinceMarker() const { return int(active_.size()) - firstSinceMarker(); }
    int lastActive(GumboTag tag) const
    {
        for (int k = int(active_.size()) - 1; k >= 0 && !active_[size_t(k)].marker; --k)
            if (active_[size_t(k)].tag == tag)
                return k;
        return -1;
    }
    // The parser keeps at most three alike formatting elements on its list;
    // with attributes dropped, alike is the same tag.
    void activate(GumboTag tag)
    {
        int alike = 0, earliest = -1;
        for (int k = int(active_.size()) - 1; k >= 0 && !active_[size_t(k)].marker; --k)
            if (active_[size_t(k)].tag == tag) {
                ++alike;
                earliest = k;
            }
        if (alike >= 3) {
            if (!active_[size_t(earliest)].onStack)
                --pending_;
            active_.erase(active_.begin() + earliest);
        }
        active_.push_back({tag, serial_, true, false});
    }

    // Closes the nearest of `tags` and what was opened inside it, unless a
    // `boundary` comes first. Only the top few are looked at: past them the
    // page counts as deeper than the parser may hold it, never shallower.
    void close(const TagSet &tags, const TagSet &boundary)
    {
        constexpr int reach = 8;
        for (int k = 1; k <= std::min(reach, depth()); ++k) {
            const GumboTag open = open_[open_.size() - size_t(k)].tag.tag;
            if (tags.test(open)) {
                while (k-- > 0)
                    pop();
                return;
            }
            if (boundary.test(open))
                return;
        }
    }
    void pop()
    {
        const Open &top = open_.back();
        const Tag &tag = top.tag;
        if (tag.tag == GUMBO_TAG_UNKNOWN)
            --unknown_[tag.name];
        else
            --known_[tag.tag];
        if (tag.tag == GUMBO_TAG_SVG || tag.tag == GUMBO_TAG_MATH)
            --foreign_;
        if (textOnly(tag.tag))
            --textOnly_;
        if (top.serial == Open::Marker) {
            // Closing a cell or caption clears the list back to it.
            while (!active_.empty() && !active_.back().marker) {
                if (!active_.back().onStack)
                    --pending_;
                active_.pop_back();
            }
            if (!active_.empty())
                active_.pop_back();
        } else if (top.serial != Open::Plain) {
            for (int k = int(active_.size()) - 1; k >= 0 && !active_[size_t(k)].marker; --k)
                if (active_[size_t(k)].onStack && active_[size_t(k)].serial == top.serial) {
                    active_[size_t(k)].onStack = false;
                    ++pending_;
                    break;
                }
        }
        open_.pop_back();
    }

    std::vector<Open> open_;
    std::vector<Active> active_; // the active formatting elements, and markers
    std::array<int, GUMBO_TAG_LAST + 1> known_{}; // open elements by tag
    QHash<QByteArray, int> unknown_;              // and by name, for tags the parser does not know
    int foreign_ = 0;                             // open svg and math elements
    int textOnly_ = 0;                            // open elements whose content is text
    int pending_ = 0;                             // active formatting elements not open
    int serial_ = 0;
    qsizetype made_ = 0;
};

// Drops the start and end tags that nest deeper than `limit`, keeping their
// text, and the attributes of every tag. The HTML parser checks the whole
// stack of open elements at every tag, so a hostile page of nested tags would
// keep it busy for seconds. Past `most` elements every tag is dropped: each
// costs the parser time and memory.
QByteArray capNesting(const QByteArray &html, int limit, qsizetype most)
{
    QByteArray out;
    out.reserve(html.size());
    OpenElements open;
    // Dropped start tags not yet closed: formatting ones by tag, the others
    // all together under GUMBO_TAG_UNKNOWN.
    std::array<int, GUMBO_TAG_LAST + 1> dropped{};
    const qsizetype n = html.size();
    qsizetype i = 0;
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    while (i < n) {
        if (html[i] != '<') {
            const qsizetype next = html.indexOf('<', i);
            const qsizetype stop = next < 0 ? n : next;
            if (open.pending() > 0)
                for (qsizetype k = i; k < stop; ++k)
                    if (!QChar::isSpace(uchar(html[k]))) {
                        open.reopen();
                        break;
                    }
            out.append(html.constData() + i, stop - i);
            i = stop;
            continue;
        }
        if (QByteArrayView(html).sliced(i).startsWith("<!--")) {
            const qsizetype end = html.indexOf("-->", i + 4);
            const qsizetype stop = end < 0 ? n : end + 3;
            out.append(html.constData() + i, stop - i);
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
        const Tag tag = tagAt(html.constData() + nameAt, j - nameAt);
        const qsizetype j0 = j; // where the attributes begin
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
        const GumboTag t = tag.tag;
        const bool closedAtOnce = selfClosing && !closing &&
                                  (t == GUMBO_TAG_SVG || t == GUMBO_TAG_MATH ||
                                   (open.foreign() && !OpenElements::breaksOut(t)));
        bool keep = true;
        if (t == GUMBO_TAG_HTML || t == GUMBO_TAG_HEAD || t == GUMBO_TAG_BODY) {
            // Made once, whatever the page says.
        } else if (open.made() >= most) {
            keep = false;
        } else if (isVoid(t) || closedAtOnce) {
            if (!closing || t == GUMBO_TAG_BR)
                open.make(); // never nested by the parser, but made all the same
        } else if (!closing && (open.depth() + open.pending() >= limit ||
                                (OpenElements::formatting(t) && open.formattingFull()))) {
            keep = false;
            ++dropped[size_t(OpenElements::formatting(t) ? t : GUMBO_TAG_UNKNOWN)];
        } else if (!closing) {
            open.start(tag);
        } else if (OpenElements::formatting(t) && dropped[size_t(t)] > 0) {
            keep = false;
            --dropped[size_t(t)];
        } else if (!OpenElements::formatting(t) && dropped[GUMBO_TAG_UNKNOWN] > 0) {
            keep = false;
            --dropped[GUMBO_TAG_UNKNOWN];
        } else if (!open.isOpen(tag) && open.ignoresUnopened(t)) {
            // Closes nothing, so the parser ignores it, but only after looking
            // through all the open elements: a deep page of such tags costs
            // it the depth times their number.
            keep = false;
        } else {
            if (t == GUMBO_TAG_P && !open.isOpen(tag))
                open.make(); // the parser makes an empty paragraph for it
            open.end(tag);
        }
        if (keep) {
            // Without its attributes: nothing reads them, and the parser
            // checks each against all before it, the square of a long tag.
            out.append(html.constData() + i, j0 - i);
            if (j < n)
                out.append(selfClosing ? "/>" : ">");
        }
        // Script and style hold text, not tags.
        if (keep && !closing && (t == GUMBO_TAG_SCRIPT || t == GUMBO_TAG_STYLE)) {
            const QByteArray endTag = t == GUMBO_TAG_SCRIPT ? QByteArray("</script") : QByteArray("</style");
            const qsizetype end = html.indexOf(endTag, stop);
            const qsizetype textEnd = end < 0 ? n : end;
            out.append(html.constData() + stop, textEnd - stop);
            i = textEnd;
            continue;
        }
        i = stop;
    }
    return out;
}

} // namespace

Document Document::parseHere(const QByteArray &bytes, const QByteArray &contentType)
{
    const QString page = decode(bytes, contentType);
    const QByteArray utf8 = capNesting(page.toUtf8(), maximumNesting, maximumElements);
    // No parse errors kept: nothing reads them, and each holds a copy of the
    // open elements, gigabytes for a deep page full of errors.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput *output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    Document doc;
    doc.sourceLength_ = page.size();
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
        doc.pieces_.push_back({Piece::Open, int(node->v.element.tag), {}, 0, int(doc.elements_.size())});
        doc.elements_.push_back({nameOf(node), int(doc.pieces_.size()) - 1, verbatim});
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

void Document::eachText(int count, const std::function<bool(const QString &)> &take) const
{
    count = std::min(count, this->count());
    if (count <= 0)
        return;
    // One pass from the page itself; the parts it skips (head, scripts,
    // styles) have texts of their own, each from a pass of its own.
    std::vector<TextWriter::Span> spans(elements_.size());
    std::vector<int> source(elements_.size(), -1); // the pass an element's text comes from
    std::vector<QString> written;
    std::vector<int> roots{elements_[0].open};
    while (!roots.empty()) {
        const int open = roots.back();
        roots.pop_back();
        const int pass = int(written.size());
        std::vector<int> skipped;
        TextWriter writer;
        const int first = pieces_[size_t(open)].element;
        writer.write(pieces_, open, elements_[size_t(first)].verbatim, {&spans, &skipped});
        for (int i = open; i <= pieces_[size_t(open)].match; ++i) {
            const Piece &piece = pieces_[size_t(i)];
            if (piece.kind == Piece::Open && source[size_t(piece.element)] < 0 && spans[size_t(piece.element)].end >= 0)
                source[size_t(piece.element)] = pass;
        }
        written.push_back(writer.written());
        roots.insert(roots.end(), skipped.begin(), skipped.end());
    }
    for (int i = 0; i < count; ++i) {
        const TextWriter::Span span = spans[size_t(i)];
        QString text;
        if (source[size_t(i)] >= 0 && span.end > span.begin) {
            text = written[size_t(source[size_t(i)])].mid(span.begin, span.end - span.begin);
            while (text.endsWith(u'\n'))
                text.chop(1);
        }
        if (!take(text))
            return;
    }
}

QString Document::tagName(int index) const
{
    return index < 0 || index >= count() ? QString() : elements_[size_t(index)].tag;
}

} // namespace Web
