#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>

namespace marvoxa::test {

// A tiny HTTP/1.1 server on 127.0.0.1 for the update check. It lives in the test's thread
// and is serviced by the event loop the updater runs while it waits, so it needs no thread of
// its own. Each connection gets one canned response and is then closed.
class UpdaterTestServer : public QObject {
public:
    UpdaterTestServer();

    quint16 port() const { return server_.serverPort(); }

    // The response for every path without one of its own (initially a 404).
    void setResponse(const QByteArray& response) { defaultResponse_ = response; }
    // The response to a request for path (starting with "/").
    void setResponseFor(const QByteArray& path, const QByteArray& response) {
        responses_[path] = response;
    }
    // Accepts connections and reads requests but never answers.
    void setSilent() { silent_ = true; }

    // The request lines and headers received so far, one entry per request.
    const QList<QByteArray>& requests() const { return requests_; }
    int connectionCount() const { return connectionCount_; }

    // A complete response with Content-Length and Connection: close.
    static QByteArray Response(int status, const QByteArray& reason, const QByteArray& body,
                               const QByteArray& extraHeaders = {});
    static QByteArray Ok(const QByteArray& body) { return Response(200, "OK", body); }

private:
    void Accept();

    QTcpServer server_;
    QByteArray defaultResponse_;
    QMap<QByteArray, QByteArray> responses_;
    bool silent_ = false;
    QList<QByteArray> requests_;
    int connectionCount_ = 0;
};

// A port on 127.0.0.1 that nothing listens on (it was free a moment ago).
quint16 ClosedLocalPort();

}  // namespace marvoxa::test
