#include "platform/web/WebPage.h"

#include <QStringDecoder>
#include <gumbo.h>

#include <functional>

namespace Web {

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

// Builds the visible text of one element, the way innerText reads it.
class TextWriter {
public:
    QString take()
    {
        while (out_.endsWith(u'\n'))
            out_.chop(1);
        return out_;
    }

    void element(const GumboNode *node, int verbatim)
    {
        const GumboTag tag = node->v.element.tag;
        if (tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE)
            return;
        if (tag == GUMBO_TAG_BR) {
            out_ += u'\n';
            space_ = false;
            break_ = false;
            return;
        }
        const bool block = isBlock(tag);
        if (block)
            break_ = true;
        if (keepsWhitespace(tag))
            ++verbatim;
        const GumboVector &children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            const auto *child = static_cast<const GumboNode *>(children.data[i]);
            if (isElement(child)) {
                if (child->v.element.tag != GUMBO_TAG_HEAD)
                    element(child, verbatim);
            } else if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE ||
                       child->type == GUMBO_NODE_CDATA) {
                text(QString::fromUtf8(child->v.text.text), verbatim > 0);
            }
        }
        if (block)
            break_ = true;
        else if (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH)
            space_ = true; // cells of a row stay apart
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

} // namespace

Document Document::parse(const QByteArray &bytes, const QByteArray &contentType)
{
    const QByteArray utf8 = decode(bytes, contentType).toUtf8();
    GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size()));
    Document doc;
    // Each element in document order with the depth of <pre> around it.
    std::function<void(const GumboNode *, int)> walk = [&](const GumboNode *node, int verbatim) {
        if (!isElement(node))
            return;
        doc.tags_ << nameOf(node);
        TextWriter writer;
        writer.element(node, verbatim);
        doc.texts_ << writer.take();
        const int inner = verbatim + (keepsWhitespace(node->v.element.tag) ? 1 : 0);
        const GumboVector &children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i)
            walk(static_cast<const GumboNode *>(children.data[i]), inner);
    };
    walk(output->root, 0);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return doc;
}

} // namespace Web
