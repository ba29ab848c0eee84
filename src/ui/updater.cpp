#include "ui/updater.h"

#include "ui/prompts.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QVariant>

namespace marvoxa {

namespace {

// Updaters are made and released on the user-interface thread only.
int liveUpdaters = 0;

// The boxes tell a missing page apart from everything else by this exact text.
const QLatin1String kNotFound("404 Not Found");

// "<status code> <reason phrase>" for an HTTP answer that is not a page, else the client's
// own message.
QString FailureText(const QNetworkReply& reply) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        return reply.errorString();
    }
    const int code = status.toInt();
    if (code == 404) {
        // Servers word the phrase as they like; a missing page must still read as one.
        return kNotFound;
    }
    const QString reason =
        reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
    return reason.isEmpty() ? QString::number(code) : QString::number(code) + u' ' + reason;
}

bool IsSuccess(const QNetworkReply& reply) {
    if (reply.error() != QNetworkReply::NoError) {
        return false;
    }
    // A redirect that was not followed has no error but is not the page either.
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return !status.isValid() || (status.toInt() >= 200 && status.toInt() < 300);
}

}  // namespace

QString ProductPageAddress(const QString& host) {
    return QStringLiteral("http://") + host + QStringLiteral("/divx/SoftwareMarvoxa.html");
}

std::unique_ptr<TUpdater> TUpdater::Obtain(Prompts& prompts, QWidget* parent) {
    if (liveUpdaters > 0) {
        prompts.showMessage(parent, QStringLiteral("Max Updaters created"));
        return nullptr;
    }
    return std::unique_ptr<TUpdater>(new TUpdater(prompts, parent));
}

int TUpdater::LiveCount() {
    return liveUpdaters;
}

TUpdater::TUpdater(Prompts& prompts, QWidget* parent)
    : prompts_(prompts), parent_(parent), client_(std::make_unique<QNetworkAccessManager>()) {
    ++liveUpdaters;
}

TUpdater::~TUpdater() {
    --liveUpdaters;
}

QString TUpdater::Fetch(const QString& host, const QString& path, quint16 port) {
    const QUrl url(QStringLiteral("http://") + host + u':' + QString::number(port) + u'/' + path);
    if (!url.isValid() || url.host().isEmpty()) {
        ReportFailure(QStringLiteral("Invalid address ") + url.toString());
        return {};
    }

    QNetworkRequest request(url);
    // Only the maker's own server may answer, never a server it points to.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setTransferTimeout(static_cast<int>(timeout_.count()));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Marvoxa"));

    std::unique_ptr<QNetworkReply> reply(client_->get(request));
    QByteArray body;
    bool oversized = false;
    const auto takeBody = [&] {
        if (oversized || !reply->isOpen()) {
            return;
        }
        // One byte past the limit is enough to know the reply is too large.
        body += reply->read(kMaxVersionPageBytes + 1 - body.size());
        if (body.size() > kMaxVersionPageBytes) {
            oversized = true;
            reply->abort();
        }
    };

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, takeBody);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        // A second click on "Check Version" must not start a second check meanwhile.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    takeBody();

    if (oversized) {
        ReportFailure(QStringLiteral("Reply larger than %1 bytes").arg(kMaxVersionPageBytes));
        return {};
    }
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        // Nothing else cancels the request: the server stalled past the time-out.
        ReportFailure(QStringLiteral("Request timed out"));
        return {};
    }
    if (!IsSuccess(*reply)) {
        ReportFailure(FailureText(*reply));
        return {};
    }
    return QString::fromUtf8(body);
}

void TUpdater::Check(const QString& runningVersion, const QString& host,
                     const QString& versionPagePath, const QString& productPageAddress,
                     quint16 port) {
    const QString newest = Fetch(host, versionPagePath, port);
    if (newest.isEmpty()) {
        return;
    }
    if (newest == runningVersion) {
        prompts_.showMessage(parent_, QStringLiteral("No updates found."));
        return;
    }
    // Any other text, older or with a stray line break, is offered as an update.
    if (prompts_.askYesNo(parent_, QStringLiteral("Update Found. Version :") + newest +
                                       QStringLiteral("\rUpdate Now ?"))) {
        prompts_.openUrl(QUrl(productPageAddress));
    }
}

void TUpdater::ReportFailure(const QString& failure) {
    if (failure == kNotFound) {
        prompts_.showInformation(parent_,
                                 QStringLiteral("Server Down. Retry later. Error : ") + failure);
    } else {
        prompts_.showInformation(
            parent_,
            QStringLiteral("You are Offline. Connect to internet and retry. Error : ") + failure);
    }
}

}  // namespace marvoxa
