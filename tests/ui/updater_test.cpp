#include "ui/updater.h"

#include "updater_recording_prompts.h"
#include "updater_test_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QNetworkProxy>

namespace marvoxa {
namespace {

using test::RecordingPrompts;
using test::UpdaterTestServer;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;

const QString kLocalHost = QStringLiteral("127.0.0.1");
const QString kProductPage = QStringLiteral("http://127.0.0.1/divx/SoftwareMarvoxa.html");
const std::string kOffline =
    "information: You are Offline. Connect to internet and retry. Error : ";

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Requests go straight to the local server, whatever proxy the machine names.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        updater_ = TUpdater::Obtain(prompts_);
        ASSERT_NE(updater_, nullptr);
    }

    void CheckAgainstServer(const QString& runningVersion) {
        updater_->Check(runningVersion, kLocalHost, QString(kVersionPagePath), kProductPage,
                        server_.port());
    }

    RecordingPrompts prompts_;
    UpdaterTestServer server_;
    std::unique_ptr<TUpdater> updater_;
};

// --- Check: what the user is told for each answer of the server ---

TEST_F(UpdaterTest, SameVersionFromTheVersionPageFindsNoUpdates) {
    server_.setResponse(UpdaterTestServer::Ok("42.5"));
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, ElementsAre("message: No updates found."));
    EXPECT_THAT(prompts_.openedUrls, IsEmpty());
    ASSERT_THAT(server_.requests(), SizeIs(1));
    const QByteArray request = server_.requests().front();
    EXPECT_THAT(request.toStdString(),
                StartsWith("GET /divx/Versions/MarvoxaVersion.html HTTP/1.1\r\n"));
    EXPECT_THAT(request.toStdString(),
                HasSubstr("\r\nHost: 127.0.0.1:" + std::to_string(server_.port())));
}

TEST_F(UpdaterTest, OtherVersionAsksAndOnlyYesOpensTheProductPage) {
    server_.setResponse(UpdaterTestServer::Ok("42.6"));
    prompts_.answerYes = false;
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, ElementsAre("question: Update Found. Version :42.6\rUpdate Now ?"));
    EXPECT_THAT(prompts_.openedUrls, IsEmpty());

    prompts_.answerYes = true;
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, SizeIs(2));
    EXPECT_THAT(prompts_.openedUrls, ElementsAre(QUrl(kProductPage)));
}

TEST_F(UpdaterTest, AnyTextOtherThanTheRunningVersionIsAnUpdate) {
    // The comparison is of whole texts: older, padded, wrapped or differently cased all differ.
    for (const char* body :
         {"42.5\n", "42.5\r\n", " 42.5", "41.9", "42.50", "<b>42.5</b>", "v42.5"}) {
        UpdaterTestServer server;
        server.setResponse(UpdaterTestServer::Ok(body));
        updater_->Check(QStringLiteral("42.5"), kLocalHost, QString(kVersionPagePath), kProductPage,
                        server.port());
        ASSERT_THAT(prompts_.boxes, SizeIs(1)) << body;
        EXPECT_EQ(prompts_.boxes.front(),
                  std::string("question: Update Found. Version :") + body + "\rUpdate Now ?");
        prompts_.boxes.clear();
    }
}

TEST_F(UpdaterTest, EmptyPageEndsTheCheckWithoutAWord) {
    server_.setResponse(UpdaterTestServer::Ok(""));
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, IsEmpty());
    EXPECT_THAT(server_.requests(), SizeIs(1));
}

// --- Failures: which of the two boxes, with which message ---

TEST_F(UpdaterTest, MissingPageSaysTheServerIsDownWhateverTheServerCallsIt) {
    for (const QByteArray reason : {"Not Found", "File Not Here"}) {
        server_.setResponse(UpdaterTestServer::Response(404, reason, "<html>gone</html>"));
        CheckAgainstServer(QStringLiteral("42.5"));
        EXPECT_THAT(prompts_.boxes,
                    ElementsAre("information: Server Down. Retry later. Error : 404 Not Found"))
            << reason.toStdString();
        prompts_.boxes.clear();
    }
}

TEST_F(UpdaterTest, OtherHttpErrorsSayOfflineWithStatusAndReason) {
    server_.setResponse(UpdaterTestServer::Response(503, "Service Unavailable", "busy"));
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, ElementsAre(kOffline + "503 Service Unavailable"));

    prompts_.boxes.clear();
    server_.setResponse(UpdaterTestServer::Response(403, "Forbidden", "42.5"));
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, ElementsAre(kOffline + "403 Forbidden"));
}

TEST_F(UpdaterTest, ClosedPortSaysOfflineWithTheClientsMessage) {
    updater_->Check(QStringLiteral("42.5"), kLocalHost, QString(kVersionPagePath), kProductPage,
                    test::ClosedLocalPort());
    ASSERT_THAT(prompts_.boxes, SizeIs(1));
    EXPECT_THAT(prompts_.boxes.front(), StartsWith(kOffline));
    EXPECT_GT(prompts_.boxes.front().size(), kOffline.size()) << "the client's message is missing";
    EXPECT_THAT(prompts_.openedUrls, IsEmpty());
}

TEST_F(UpdaterTest, ServerThatNeverAnswersCountsAsOffline) {
    server_.setSilent();
    updater_->setTimeout(std::chrono::milliseconds(100));
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, ElementsAre(kOffline + "Request timed out"));
    EXPECT_THAT(server_.requests(), SizeIs(1));
}

// --- Fetch: the address, the body limit and redirects ---

TEST_F(UpdaterTest, FetchReturnsTheWholeBodyUpToTheLimit) {
    server_.setResponseFor("/some/page.txt", UpdaterTestServer::Ok("body text \xc3\xa9"));
    EXPECT_EQ(updater_->Fetch(kLocalHost, QStringLiteral("some/page.txt"), server_.port()),
              QStringLiteral("body text \u00e9"));

    const QByteArray page(kMaxVersionPageBytes, '7');
    server_.setResponse(UpdaterTestServer::Ok(page));
    EXPECT_EQ(updater_->Fetch(kLocalHost, QString(kVersionPagePath), server_.port()),
              QString::fromLatin1(page));
    EXPECT_THAT(prompts_.boxes, IsEmpty());
}

TEST_F(UpdaterTest, FetchRefusesALargerBodyAsAFailure) {
    // Not a version page: neither taken whole nor shown cut in a question box.
    for (const qsizetype size : {kMaxVersionPageBytes + 1, qsizetype(1) << 20}) {
        UpdaterTestServer server;
        server.setResponse(UpdaterTestServer::Ok(QByteArray(size, '7')));
        EXPECT_EQ(updater_->Fetch(kLocalHost, QString(kVersionPagePath), server.port()), QString());
        EXPECT_THAT(prompts_.boxes, ElementsAre(kOffline + "Reply larger than 4096 bytes")) << size;
        prompts_.boxes.clear();
    }
}

TEST_F(UpdaterTest, FetchFollowsARedirectOnTheSameServer) {
    server_.setResponseFor(
        "/divx/Versions/MarvoxaVersion.html",
        UpdaterTestServer::Response(302, "Found", "", "Location: /moved/version.txt\r\n"));
    server_.setResponseFor("/moved/version.txt", UpdaterTestServer::Ok("42.5"));
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_THAT(prompts_.boxes, ElementsAre("message: No updates found."));
    EXPECT_THAT(server_.requests(), SizeIs(2));
}

TEST_F(UpdaterTest, FetchDoesNotFollowARedirectToAnotherServer) {
    UpdaterTestServer elsewhere;
    elsewhere.setResponse(UpdaterTestServer::Ok("42.6"));
    const QByteArray target = "http://127.0.0.1:" + QByteArray::number(elsewhere.port()) + "/";
    server_.setResponse(
        UpdaterTestServer::Response(302, "Found", "", "Location: " + target + "\r\n"));
    CheckAgainstServer(QStringLiteral("42.5"));
    EXPECT_EQ(elsewhere.connectionCount(), 0);
    ASSERT_THAT(prompts_.boxes, SizeIs(1));
    EXPECT_THAT(prompts_.boxes.front(), StartsWith(kOffline));
    EXPECT_THAT(prompts_.openedUrls, IsEmpty());
}

// --- The live-updater count ---

TEST(UpdaterCount, RefusesASecondUpdaterWhileOneExists) {
    RecordingPrompts prompts;
    ASSERT_EQ(TUpdater::LiveCount(), 0);
    {
        const auto first = TUpdater::Obtain(prompts);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(TUpdater::LiveCount(), 1);
        EXPECT_EQ(TUpdater::Obtain(prompts), nullptr);
        EXPECT_THAT(prompts.boxes, ElementsAre("message: Max Updaters created"));
        EXPECT_EQ(TUpdater::LiveCount(), 1);
    }
    EXPECT_EQ(TUpdater::LiveCount(), 0);
    prompts.boxes.clear();
    EXPECT_NE(TUpdater::Obtain(prompts), nullptr) << "releasing must free the place";
    EXPECT_THAT(prompts.boxes, IsEmpty());
}

}  // namespace
}  // namespace marvoxa
