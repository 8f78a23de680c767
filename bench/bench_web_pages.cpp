// Hostile web pages at the fetch's size limit: parsing each, and the callbook
// memo of each, must stay under a second. Prints medians.

#include "HostilePages.h"
#include "Timing.h"
#include "lookups/CallbookPage.h"
#include "platform/web/PageLoader.h"
#include "platform/web/WebPage.h"

#include <QCoreApplication>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// `unit` repeated up to the size limit, between `head` and `tail`.
QByteArray filled(const QByteArray &head, const QByteArray &unit, const QByteArray &tail = {})
{
    const qsizetype room = Web::maximumPageSize - head.size() - tail.size();
    return head + unit.repeated(room / unit.size()) + tail;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Pages are read by the page reader of this build.
    if (qEnvironmentVariableIsEmpty("TARNEL_PAGE_READER"))
        qputenv("TARNEL_PAGE_READER", TARNEL_PAGE_READER_PATH);
    const int runs = 3;
    const QByteArray text(150, 'x');
    const std::vector<std::pair<const char *, QByteArray>> pages = {
        {"nested blocks with text", filled({}, "<div>" + text)},
        {"alternating li and dd", filled({}, "<li>a<dd>b")},
        {"divs closed by a slash", filled({}, "<div/>a")},
        {"flat paragraphs", filled({}, "<p>a</p>")},
        {"deep blocks, then list items", filled(QByteArray("<div>").repeated(Web::maximumNesting), "<li>a")},
        {"unclosed table cells", filled("<table>", "<tr><td>a<td><p>b")},
        {"formatting elements a block leaves open", Bench::formattingPage(Web::maximumPageSize)},
    };
    for (const auto &[name, html] : pages) {
        Web::Document page;
        const double parse = Bench::medianMillis(runs, [&] { page = Web::Document::parse(html); });
        qsizetype held = 0;
        const double memo = Bench::medianMillis(runs, [&] {
            held = 0;
            for (const QString &line : CallbookPage::elementLines(page))
                held += line.size();
        });
        if (page.count() == 0 || held == 0) {
            std::fprintf(stderr, "%s: the page was not read\n", name);
            return 1;
        }
        Bench::report(qPrintable(QStringLiteral("parse: %1").arg(QLatin1String(name))), parse, 1000, runs);
        Bench::report(qPrintable(QStringLiteral("callbook memo: %1").arg(QLatin1String(name))), memo, 1000, runs);
        std::printf("    %d elements, memo of %lld characters from a page of %lld\n", page.count(),
                    static_cast<long long>(held), static_cast<long long>(page.sourceLength()));
    }
    return 0;
}
