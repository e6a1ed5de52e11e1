#include "page_layer_request.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

PageLayerRequest::PageLayerRequest(QObject* parent)
    : QObject(parent), network(new QNetworkAccessManager(this)) {}

void PageLayerRequest::cancel() {
    if (!reply) {
        return;
    }
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    reply = nullptr;
}

void PageLayerRequest::get(const QString& path) {
    cancel();
    // fromLocalFile, not "file:///" + path: an absolute path already begins with a slash.
    QNetworkReply* request = network->get(QNetworkRequest(QUrl::fromLocalFile(path)));
    reply = request;
    connect(request, &QNetworkReply::finished, this, [this, request]() {
        if (request != reply) {
            return;
        }
        readFailed = request->error() != QNetworkReply::NoError;
        layerText = readFailed ? QString() : QString::fromUtf8(request->readAll());
        reply = nullptr;
        request->deleteLater();
        emit finished();
    });
}
