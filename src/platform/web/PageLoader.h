#pragma once
// Fetches one web page at a time in the background. A new load drops the one
// still running, so only the page last asked for is ever delivered.

#include "platform/web/WebPage.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace Web {

// A reply larger than this fails rather than being read.
inline constexpr qint64 maximumPageSize = 4 * 1024 * 1024;

class PageLoader : public QObject {
    Q_OBJECT
public:
    explicit PageLoader(QObject *parent = nullptr);

    // A page that has not arrived after this long counts as failed, however
    // steadily it trickles in.
    void setTimeout(int milliseconds) { timeout_ = milliseconds; }
    void load(const QUrl &url);

signals:
    void downloadBegin();
    void loaded(const Web::Document &document);
    // No connection, no answer in time, an error status, a page too large,
    // or one the page reader could not read (PageUnreadable).
    void failed(const QString &reason);

private:
    void finish(QNetworkReply *reply);

    QNetworkAccessManager *network_;
    QPointer<QNetworkReply> reply_;
    int timeout_ = 30000;
};

// Whether a redirect from the page asked for (`configured`) to `target` is
// followed. Never to this machine or its link (loopback, link-local,
// "localhost", the unspecified address) unless the page asked for is there
// itself; never from https to http.
bool followsRedirect(const QUrl &configured, const QUrl &target);

// The URL an environment variable names, or `fallback` when it is unset or empty.
QString urlFromEnvironment(const char *variable, const QString &fallback);

} // namespace Web
