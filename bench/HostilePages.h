#pragma once
// Hostile web pages shared by the benchmarks and the tests of the page reader.

#include <QByteArray>

namespace Bench {

// Blocks each holding many formatting elements the block's end leaves open:
// the parser opens them again at the next text, inside the last ones. About
// `size` bytes.
inline QByteArray formattingPage(qsizetype size)
{
    QByteArray html;
    int id = 0;
    while (html.size() < size - 4000) {
        html += "<div>";
        for (int k = 0; k < 150; ++k)
            html += "<b id=" + QByteArray::number(++id) + ">";
        html += "</div>x";
    }
    return html;
}

} // namespace Bench
