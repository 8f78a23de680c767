#include "platform/web/PageLoader.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <optional>
#include <utility>

namespace Web {

namespace {

// Why a reply was cut short by us rather than failing on its own.
constexpr char cutShort[] = "tarnelCutShort";

void cut(QNetworkReply *reply, const char *reason)
{
    if (reply->isFinished())
        return;
    reply->setProperty(cutShort, QString::fromLatin1(reason));
    reply->abort();
}

// A host on this machine or its link: a page must not send us there.
bool isLocal(const QUrl &url)
{
    QString host = url.host().toLower();
    if (host.endsWith(QLatin1Char('.'))) // "localhost." names the same host
        host.chop(1);
    if (host == QLatin1String("localhost") || host.endsWith(QLatin1String(".localhost")))
        return true;
    QHostAddress address(host);
    if (address.isNull())
        return false;
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    if (mapped)
        address = QHostAddress(v4);
    return address.isLoopback() || address.isLinkLocal() || address == QHostAddress::AnyIPv4 ||
           address == QHostAddress::AnyIPv6;
}

} // namespace

bool followsRedirect(const QUrl &configured, const QUrl &target)
{
    if (configured.scheme() == QLatin1String("https") && target.scheme() != QLatin1String("https"))
        return false;
    return !isLocal(target) || isLocal(configured);
}

PageLoader::PageLoader(QObject *parent) : QObject(parent), network_(new QNetworkAccessManager(this)) {}

void PageLoader::load(const QUrl &url)
{
    if (reply_) {
        QNetworkReply *old = reply_;
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(timeout_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    QNetworkReply *reply = network_->get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::redirected, this, [reply, url](const QUrl &target) {
        if (followsRedirect(url, target))
            emit reply->redirectAllowed();
        else
            cut(reply, "the page was redirected where it may not lead");
    });
    // The transfer timeout only counts silence; a page trickling in must
    // still end in time, and a page too large must not fill the memory.
    QTimer::singleShot(timeout_, reply, [reply] { cut(reply, "the page did not arrive in time"); });
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
        if (received > maximumPageSize || total > maximumPageSize)
            cut(reply, "the page is too large");
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply, begun = false]() mutable {
        if (!std::exchange(begun, true) && reply == reply_)
            emit downloadBegin();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
}

void PageLoader::finish(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != reply_)
        return;
    reply_.clear();
    if (reply->bytesAvailable() > maximumPageSize)
        reply->setProperty(cutShort, QStringLiteral("the page is too large"));
    const QString reason = reply->property(cutShort).toString();
    if (!reason.isEmpty() || reply->error() != QNetworkReply::NoError) {
        emit failed(reason.isEmpty() ? reply->errorString() : reason);
        return;
    }
    std::optional<Document> document;
    try {
        document = Document::parse(reply->readAll(), reply->rawHeader("Content-Type"));
    } catch (const PageUnreadable &) {
        // A page that broke the reader's limits is no page, as one that never came.
        emit failed(QStringLiteral("the page could not be read"));
        return;
    }
    emit loaded(*document);
}

QString urlFromEnvironment(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? fallback : value;
}

} // namespace Web
