#include "platform/web/LoopbackServer.h"

#include "HostilePages.h"
#include "platform/web/PageLoader.h"
#include "platform/web/WebPage.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QThread>
#include <QtTest>

#include <sys/resource.h>

class TestWebPage : public QObject {
    Q_OBJECT

private slots:
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
    // walked on a small stack.
    void deepPageReadsOnASmallStack()
    {
        constexpr int depth = 40000;
        const QByteArray html = QByteArray("<span>x").repeated(depth) + QByteArray("</span>").repeated(depth) + "<b>y</b>";
        Web::Document doc;
        QThread *thread = QThread::create([&] { doc = Web::Document::parse(html); });
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
        QElapsedTimer timer;
        timer.start();
        const Web::Document doc = Web::Document::parse(html);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 200 * 1024, qPrintable(QString::number(after.ru_maxrss)));
        QVERIFY2(doc.count() <= 3 * Web::maximumElements, qPrintable(QString::number(doc.count())));
        const QString text = doc.wholeText();
        QCOMPARE(std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c == u'a' || c == u'b' || c == u'x'; }),
                 letters);
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
