#pragma once

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// Reads one page's text layer file through the network layer, as the page preview does, and
// reports when it is there. A missing or unreadable file gives an empty text.
class PageLayerRequest : public QObject {
    Q_OBJECT

  public:
    explicit PageLayerRequest(QObject* parent = nullptr);

    // Asks for the file at the local path; an earlier request still under way is dropped.
    void get(const QString& path);
    // Drops a request under way without reporting it.
    void cancel();
    // The text of the file last read, decoded as UTF-8.
    QString text() const { return layerText; }
    // Whether the file last asked for could not be read (it is missing, for one).
    bool failed() const { return readFailed; }

  signals:
    void finished();

  private:
    QNetworkAccessManager* network = nullptr;
    QNetworkReply* reply = nullptr;
    QString layerText;
    bool readFailed = false;
};
