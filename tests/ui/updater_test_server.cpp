#include "updater_test_server.h"

#include <gtest/gtest.h>

#include <QTcpSocket>

#include <memory>

namespace marvoxa::test {

UpdaterTestServer::UpdaterTestServer()
    : defaultResponse_(Response(404, "Not Found", "no such page")) {
    if (!server_.listen(QHostAddress::LocalHost, 0)) {
        ADD_FAILURE() << "cannot listen on 127.0.0.1: " << server_.errorString().toStdString();
    }
    connect(&server_, &QTcpServer::newConnection, this, &UpdaterTestServer::Accept);
}

void UpdaterTestServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        ++connectionCount_;
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype headEnd = buffer->indexOf("\r\n\r\n");
            if (headEnd < 0) {
                return;
            }
            const QByteArray head = buffer->left(headEnd);
            buffer->remove(0, headEnd + 4);
            requests_.append(head);
            if (silent_) {
                return;
            }
            // "GET <path> HTTP/1.1"
            const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
            const QByteArray path = requestLine.size() > 1 ? requestLine[1] : QByteArray();
            socket->write(responses_.value(path, defaultResponse_));
            socket->disconnectFromHost();
        });
    }
}

QByteArray UpdaterTestServer::Response(int status, const QByteArray& reason, const QByteArray& body,
                                       const QByteArray& extraHeaders) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
           "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

quint16 ClosedLocalPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) {
        ADD_FAILURE() << "cannot listen on 127.0.0.1";
        return 0;
    }
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

}  // namespace marvoxa::test
