#include "platform/web/LoopbackServer.h"

#include "HostilePages.h"
#include "platform/web/PageLoader.h"
#include "platform/web/PageReader.h"
#include "platform/web/WebPage.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QThread>
#include <QtTest>

#include <optional>
#include <sys/resource.h>
#include <unistd.h>

class TestWebPage : public QObject {
    Q_OBJECT

    enum Outcome { Read, Refused, ReadOrRefused };

private slots:
    // Pages are read by the page reader of this build.
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("TARNEL_PAGE_READER"))
            qputenv("TARNEL_PAGE_READER", TARNEL_PAGE_READER_PATH);
    }

    void visibleText_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("text");
        QTest::newRow("pre verbatim") << QByteArray("<body><pre>A  1\n   B  2\n</pre></body>") << "A  1\n   B  2";
        QTest::newRow("collapsed outside pre") << QByteArray("<p>a \n  b</p>") << "a b";
        QTest::newRow("br and blocks") << QByteArray("x<br>y<div>z</div>w<p>v</p>") << "x\ny\nz\nw\nv";
        QTest::newRow("script and style dropped")
            << QByteArray("<head><style>p{}</style><title>T</title></head><p>a<script>b()</script>c</p>") << "ac";
        QTest::newRow("entities") << QByteArray("<p>R&amp;D &lt;5&gt; &quot;Q&quot;&nbsp;x</p>") << "R&D <5> \"Q\" x";
        QTest::newRow("table cells apart") << QByteArray("<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>")
                                           << "a b\nc";
    }
    void visibleText()
    {
        QFETCH(QByteArray, html);
        QFETCH(QString, text);
        QCOMPARE(Web::Document::parse(html).wholeText(), text);
    }

    // The charset of the reply wins; without one the page's own declaration holds.
    void charsetConvertedBeforeParsing_data()
    {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("header") << QByteArray("text/html; charset=windows-1251") << QByteArray();
        QTest::newRow("meta") << QByteArray("text/html") << QByteArray("<meta charset=\"windows-1251\">");
        QTest::newRow("meta http-equiv")
            << QByteArray()
            << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">");
    }
    void charsetConvertedBeforeParsing()
    {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, head);
        QStringEncoder encoder("windows-1251");
        const QByteArray body = encoder(QString::fromUtf8("<p>Київ</p>"));
        const Web::Document doc = Web::Document::parse("<html><head>" + head + "</head><body>" + body, contentType);
        QCOMPARE(doc.wholeText(), QString::fromUtf8("Київ"));
    }

    void elementsInDocumentOrder()
    {
        const Web::Document doc = Web::Document::parse("<p>one<b>two</b></p><p>three</p>");
        QCOMPARE(doc.count(), 6); // html (the page itself), head, body, p, b, p
        QCOMPARE(doc.tagName(0), QStringLiteral("html"));
        QCOMPARE(doc.text(3), QStringLiteral("onetwo"));
        QCOMPARE(doc.text(4), QStringLiteral("two"));
        QCOMPARE(doc.text(5), QStringLiteral("three"));
    }

    // Texts are built from a flat copy of the tree, so nesting costs no stack.
    // A page nested deeper than any real one keeps its text, drops the tags
    // past the limit (which would keep the parser busy for seconds) and is
    // walked on a small stack. The parse the page reader runs, run here.
    void deepPageReadsOnASmallStack()
    {
        constexpr int depth = 40000;
        const QByteArray html = QByteArray("<span>x").repeated(depth) + QByteArray("</span>").repeated(depth) + "<b>y</b>";
        Web::Document doc;
        QThread *thread = QThread::create([&] { doc = Web::Document::parseHere(html); });
        thread->setStackSize(128 * 1024);
        thread->start();
        QVERIFY(thread->wait(60000));
        delete thread;
        QCOMPARE(doc.count(), Web::maximumNesting + 4); // html, head, body, b
        QCOMPARE(doc.tagName(doc.count() - 1), QStringLiteral("b"));
        QCOMPARE(doc.wholeText(), QString(depth, u'x') + u'y');
    }

    // All texts built in one pass are those built one by one.
    void textsInOnePass_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::newRow("blocks, breaks and cells")
            << QByteArray("<div> a <b>b</b> <i> c </i></div><br><p>d<br></p><table><tr><td>e<td> f</table>x");
        QTest::newRow("head, scripts and styles")
            << QByteArray("<head><title>T <b>t</b></title><style>p{}</style><script>s()</script></head>"
                          "<p>a<script>b()</script> <style>q{}</style>c</p>");
        QTest::newRow("pre within pre")
            << QByteArray("<div>x <pre>\n  a <b> b\n</b><pre>c </pre></pre> y</div><pre></pre><p> </p>");
        QTest::newRow("spaces and lines before the first word")
            << QByteArray("a <span> <div> <br> <p> b</p></div></span> <em><br>c</em> <div><div></div>d</div>");
        QTest::newRow("template in head") << QByteArray("<head><template><div>a<p>b</div></template></head>z");
    }
    void textsInOnePass()
    {
        QFETCH(QByteArray, html);
        const Web::Document doc = Web::Document::parse(html);
        QStringList oneByOne, together;
        for (int i = 0; i < doc.count(); ++i)
            oneByOne << doc.text(i);
        doc.eachText(doc.count(), [&](const QString &text) {
            together << text;
            return true;
        });
        QCOMPARE(together, oneByOne);
    }

    // Tags the parser would nest past the limit are dropped, their text kept;
    // items the parser closes by themselves stay shallow.
    void nestingCap_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<int>("elements"); // besides html, head and body
        QTest::addColumn<int>("letters");
        QTest::newRow("alternating li and dd") << QByteArray("<li>a<dd>b").repeated(50000) << Web::maximumNesting << 100000;
        QTest::newRow("unclosed list items") << "<ul>" + QByteArray("<li>a").repeated(5000) << 5001 << 5000;
        QTest::newRow("unclosed rows and cells")
            << "<table>" + QByteArray("<tr><td>a<td><p>b").repeated(2000) << 1 + 2000 * 4 + 1 << 4000;
        QTest::newRow("slashes do not close HTML elements") << QByteArray("<div/>a").repeated(5000) << Web::maximumNesting << 5000;
        QTest::newRow("an HTML element ends SVG") << "<svg/><svg><path/>" + QByteArray("<div/>a").repeated(5000)
                                                   << 3 + Web::maximumNesting << 5000;
    }
    void nestingCap()
    {
        QFETCH(QByteArray, html);
        QFETCH(int, elements);
        QFETCH(int, letters);
        const Web::Document doc = Web::Document::parse(html);
        QCOMPARE(doc.count() - 3, elements);
        QCOMPARE(doc.wholeText().count(QRegularExpression("[ab]")), letters);
    }

    // Hostile pages at the size limit: the parser must neither freeze nor take
    // gigabytes, and every letter stays. The guards are far above what a
    // bounded parse takes, far below what an unbounded one does.
    void hostilePagesBounded_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<int>("letters");
        QTest::newRow("formatting elements reopened") << Bench::formattingPage(Web::maximumPageSize) << 0;
        const QByteArray cells("<tr><td>a<td><p>b");
        const QByteArray table = "<table>" + cells.repeated((Web::maximumPageSize - 7) / cells.size());
        QTest::newRow("unclosed table cells") << table << int(2 * ((Web::maximumPageSize - 7) / cells.size()));
    }
    void hostilePagesBounded()
    {
        QFETCH(QByteArray, html);
        QFETCH(int, letters);
        if (letters == 0)
            letters = int(html.count("</div>x"));
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const Web::Document doc = Web::Document::parse(html);
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 200 * 1024, qPrintable(QString::number(after.ru_maxrss)));
        QVERIFY2(doc.count() <= 3 * Web::maximumElements, qPrintable(QString::number(doc.count())));
        const QString text = doc.wholeText();
        QCOMPARE(std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c == u'a' || c == u'b' || c == u'x'; }),
                 letters);
    }

    // Pages that kept the parser busy for minutes or took gigabytes of it, and
    // a reader that breaks a limit or fails: each page is read or refused in
    // the reader's time limit, costs this process next to no memory, and a
    // refused one is fetched as a page that never came.
    void hostilePagesReadUnderLimits_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("environment"); // "NAME=value" for the reader, or empty
        QTest::addColumn<int>("outcome");
        QTest::addColumn<double>("cpuSeconds"); // the reader's CPU time at most
        const qsizetype large = Web::maximumPageSize;
        // Past the limit a page the reader gives up on has used it, to the kernel's tick.
        const double limit = Web::readerCpuSeconds + 0.1;
        const auto row = [&](const char *name, const QByteArray &html) {
            QTest::newRow(name) << html << QByteArray() << int(ReadOrRefused) << limit;
        };
        // `unit` repeated to `count` times or `size` bytes with `head` before it.
        const auto filled = [](const QByteArray &head, const QByteArray &unit, qsizetype count, qsizetype size = 0) {
            return head + unit.repeated(size ? (size - head.size()) / unit.size() : count);
        };
        // `prefix`, a number and `suffix`, for numbers from 0 on.
        const auto numbered = [](const char *prefix, const char *suffix, int count, qsizetype size = 0) {
            QByteArray html;
            for (int i = 0; size ? html.size() < size - 32 : i < count; ++i)
                html += prefix + QByteArray::number(i) + suffix;
            return html;
        };
        const QByteArray blocks = QByteArray("<div>").repeated(1990);
        row("NUL bytes after deep blocks", blocks + QByteArray(200000, '\0'));
        row("NUL bytes after deep blocks, 4 MB", blocks + QByteArray(large - blocks.size(), '\0'));
        row("stray end tags at depth", filled(QByteArray("<div>").repeated(2000), "</li>", 100000));
        row("stray end tags at depth, 4 MB", filled(QByteArray("<div>").repeated(2000), "</li>", 0, large));
        row("formatting closed across blocks", filled({}, "<b><div></b>", 100000));
        row("formatting closed across blocks, 4 MB", filled({}, "<b><div></b>", 0, large));
        const QByteArray unknown = "<x>" + blocks + "</x>";
        row("unknown end tags across blocks", filled({}, unknown, 50));
        row("unknown end tags across blocks, 4 MB", filled({}, unknown, 0, large));
        row("40,000 attributes", "<div" + numbered(" a", "", 40000) + ">x</div>");
        row("200,000 attributes", "<div" + numbered(" a", "", 200000) + ">x</div>");
        row("attributes, 4 MB", "<div" + numbered(" a", "", 0, large) + ">x</div>");
        row("html tags with attributes", numbered("<html a", ">", 100000));
        row("html tags with attributes, 4 MB", numbered("<html a", ">", 0, large));
        row("formatting elements reopened, 4 MB", Bench::formattingPage(large));

        // A plain page of the largest size fetched is read; with a limit
        // lowered, it or a larger one is stopped by that limit.
        const QByteArray cells = "<tr><td>DL1ABC</td><td>14025.0</td><td>UR5AAA</td><td>CW up 2</td></tr>\n";
        const QByteArray table = filled("<table>", cells, 0, large);
        QTest::newRow("plain table, 4 MB") << table << QByteArray() << int(Read) << limit;
        QTest::newRow("CPU time limit") << filled("<table>", cells, 0, 4 * large)
                                        << QByteArray("TARNEL_PAGE_CPU_SECONDS=1") << int(Refused) << 1.5;
        QTest::newRow("memory limit") << table << QByteArray("TARNEL_PAGE_MEMORY_MB=80") << int(Refused) << limit;
        const auto reader = [&](const char *name, const QByteArray &program) {
            QTest::newRow(name) << table << "TARNEL_PAGE_READER=" + program << int(Refused) << limit;
        };
        reader("reader missing", "/nonexistent/tarnel_page");
        reader("reader fails", "/bin/false");
        reader("reader answers nonsense", "/bin/cat");
    }
    void hostilePagesReadUnderLimits()
    {
        QFETCH(QByteArray, html);
        QFETCH(QByteArray, environment);
        QFETCH(int, outcome);
        QFETCH(double, cpuSeconds);
        if (Web::readerSanitized && environment.startsWith("TARNEL_PAGE_MEMORY_MB"))
            QSKIP("a sanitizer's own address space leaves the reader's unlimited");
        const QByteArray name = environment.left(environment.indexOf('='));
        const bool wasSet = !name.isEmpty() && qEnvironmentVariableIsSet(name.constData());
        const QByteArray kept = qgetenv(name.constData());
        if (!name.isEmpty())
            qputenv(name.constData(), environment.mid(name.size() + 1));
        const auto restore = qScopeGuard([&] {
            if (wasSet)
                qputenv(name.constData(), kept);
            else if (!name.isEmpty())
                qunsetenv(name.constData());
        });

        const auto resident = [] {
            QFile statm(QStringLiteral("/proc/self/statm"));
            if (!statm.open(QIODevice::ReadOnly))
                return qint64(-1);
            const QList<QByteArray> fields = statm.readAll().split(' ');
            return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : qint64(-1);
        };
        const auto cpuOf = [](int who) {
            rusage usage{};
            getrusage(who, &usage);
            return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        };
        const qint64 residentBefore = resident();
        const double childBefore = cpuOf(RUSAGE_CHILDREN), selfBefore = cpuOf(RUSAGE_SELF);
        std::optional<Web::Document> doc;
        try {
            doc = Web::Document::parse(html);
        } catch (const Web::PageUnreadable &) {
        }
        const double cpu = cpuOf(RUSAGE_CHILDREN) - childBefore, self = cpuOf(RUSAGE_SELF) - selfBefore;
        const qint64 grown = resident() - residentBefore;
        QVERIFY(residentBefore > 0);
        QVERIFY2(cpu <= cpuSeconds, qPrintable(QStringLiteral("%1 s").arg(cpu)));
        // This process only hands the page over and reads the document back
        // (slower under a sanitizer, as every test there: a parse done here
        // would take many times longer still).
        QVERIFY2(self < (Web::readerSanitized ? 5 : 1), qPrintable(QStringLiteral("%1 s").arg(self)));
        QVERIFY2(grown < 64 * 1024 * 1024, qPrintable(QStringLiteral("%1 MB").arg(grown >> 20)));
        if (outcome != ReadOrRefused)
            QCOMPARE(doc.has_value(), outcome == Read);
        // The cap on elements holds, besides the few the parser adds itself.
        if (doc)
            QVERIFY2(doc->count() <= Web::maximumElements + 10, qPrintable(QString::number(doc->count())));
        const bool read = doc.has_value();
        doc.reset();

        // Fetched, a page the reader refuses fails as one that never came.
        if (html.size() > Web::maximumPageSize)
            return;
        LoopbackServer server;
        server.body = html;
        Web::PageLoader loader;
        QSignalSpy loaded(&loader, &Web::PageLoader::loaded);
        QSignalSpy failed(&loader, &Web::PageLoader::failed);
        loader.load(server.url("/"));
        QTRY_VERIFY_WITH_TIMEOUT(loaded.size() + failed.size() == 1, 2 * Web::readerTimeoutMs);
        QCOMPARE(loaded.size(), read ? 1 : 0);
    }

    // A page may not send the fetch to this machine unless it was asked for there.
    void redirects_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("followed");
        const QString remote = "http://cb.example/db/UR5AAA";
        QTest::newRow("remote to remote") << remote << "http://www.cb.example/x" << true;
        QTest::newRow("remote to 127.0.0.1") << remote << "http://127.0.0.1:8080/admin" << false;
        QTest::newRow("remote to 127.1.2.3") << remote << "http://127.1.2.3/" << false;
        QTest::newRow("remote to ::1") << remote << "http://[::1]/" << false;
        QTest::newRow("remote to mapped 127.0.0.1") << remote << "http://[::ffff:127.0.0.1]/" << false;
        QTest::newRow("remote to 169.254.169.254") << remote << "http://169.254.169.254/latest/" << false;
        QTest::newRow("remote to fe80::1") << remote << "http://[fe80::1]/" << false;
        QTest::newRow("remote to localhost") << remote << "http://LocalHost:631/" << false;
        QTest::newRow("remote to localhost.") << remote << "http://localhost./" << false;
        QTest::newRow("remote to 127.0.0.1.") << remote << "http://127.0.0.1./" << false;
        QTest::newRow("remote to 0.0.0.0") << remote << "http://0.0.0.0/" << false;
        QTest::newRow("loopback to loopback") << "http://127.0.0.1:5000/db/%1" << "http://127.0.0.1:5000/other" << true;
        QTest::newRow("localhost to ::1") << "http://localhost/db/" << "http://[::1]/" << true;
        QTest::newRow("https to http") << "https://cb.example/" << "http://cb.example/" << false;
        QTest::newRow("http to https") << remote << "https://cb.example/" << true;
    }
    void redirects()
    {
        QFETCH(QString, configured);
        QFETCH(QString, target);
        QTEST(Web::followsRedirect(QUrl(configured), QUrl(target)), "followed");
    }

    void redirectOnLoopbackFollowed()
    {
        LoopbackServer server;
        server.body = "<p>moved</p>";
        server.redirectTo = server.url("/new");
        Web::PageLoader loader;
        QSignalSpy loaded(&loader, &Web::PageLoader::loaded);
        loader.load(server.url("/old"));
        QVERIFY(loaded.wait(5000));
        QCOMPARE(loaded.first().first().value<Web::Document>().wholeText(), QStringLiteral("moved"));
        QCOMPARE(server.paths, (QStringList{"/old", "/new"}));
    }

    void fetchFromLoopback()
    {
        LoopbackServer server;
        server.body = "<pre>spot</pre>";
        Web::PageLoader loader;
        QSignalSpy begun(&loader, &Web::PageLoader::downloadBegin);
        QSignalSpy loaded(&loader, &Web::PageLoader::loaded);
        loader.load(server.url("/dxs/dx250.html"));
        QVERIFY(loaded.wait(5000));
        QCOMPARE(begun.size(), 1);
        QCOMPARE(loaded.first().first().value<Web::Document>().wholeText(), QStringLiteral("spot"));
        QCOMPARE(server.paths, QStringList{"/dxs/dx250.html"});
    }

    void unansweredTricklingOrOversizedFetchFails_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("trickleMs");
        QTest::addColumn<qint64>("size");
        QTest::newRow("unanswered") << true << 0 << qint64(10);
        QTest::newRow("trickling past the deadline") << false << 50 << qint64(1000);
        QTest::newRow("too large") << false << 0 << Web::maximumPageSize + 1;
    }
    void unansweredTricklingOrOversizedFetchFails()
    {
        QFETCH(bool, silent);
        QFETCH(int, trickleMs);
        QFETCH(qint64, size);
        LoopbackServer server;
        server.silent = silent;
        server.trickleMs = trickleMs;
        server.body = QByteArray(size, 'x');
        Web::PageLoader loader;
        loader.setTimeout(silent || trickleMs ? 400 : 30000);
        QSignalSpy loaded(&loader, &Web::PageLoader::loaded);
        QSignalSpy failed(&loader, &Web::PageLoader::failed);
        loader.load(server.url("/"));
        QVERIFY(failed.wait(10000));
        QVERIFY(loaded.isEmpty());
    }

    void refusedFetchFails()
    {
        LoopbackServer server;
        Web::PageLoader loader;
        QSignalSpy failed(&loader, &Web::PageLoader::failed);
        const QUrl refused = server.url("/");
        server.close();
        loader.load(refused);
        QVERIFY(failed.wait(5000));
    }
};

QTEST_GUILESS_MAIN(TestWebPage)
#include "TestWebPage.moc"
