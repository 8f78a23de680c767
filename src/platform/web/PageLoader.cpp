#include "platform/web/PageLoader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <utility>

namespace Web {

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
    QNetworkReply *reply = network_->get(request);
    reply_ = reply;
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
    if (reply->error() != QNetworkReply::NoError) {
        emit failed(reply->errorString());
        return;
    }
    emit loaded(Document::parse(reply->readAll(), reply->rawHeader("Content-Type")));
}

QString urlFromEnvironment(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? fallback : value;
}

} // namespace Web
