#pragma once

#include "QtTestSupport.h"
#include "platform/HandOverClient.h"
#include "platform/HandOverServer.h"

#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testkit {

// A hand-over server in a private folder whose handler records what arrives; paths are answered when
// the test says so (pendingDone_), or at once.
class HandOverFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Application();
        ASSERT_TRUE(folder_.isValid());
    }

    std::string Folder() const { return folder_.path().toStdString(); }

    std::unique_ptr<HandOverServer> StartServer(HandOverLimits limits, bool answerAtOnce = false) {
        HandOverHandler handler;
        handler.OnPath = [this, answerAtOnce](const std::string& path, std::function<void()> done) {
            paths_.push_back(path);
            if (answerAtOnce) {
                done();
            } else {
                pendingDone_.push_back(std::move(done));
            }
        };
        handler.OnShowNormal = [this] {
            ++showCount_;
        };
        auto server = std::make_unique<HandOverServer>(Folder(), std::move(handler), limits);
        server->Listen();
        return server;
    }

    std::future<HandOverResult> HandOverInThread(std::optional<std::string> path) {
        return std::async(std::launch::async, [folder = Folder(), path] { return HandOver(folder, path); });
    }

    static bool Ready(const std::future<HandOverResult>& result) {
        return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }

    QTemporaryDir folder_;
    std::vector<std::string> paths_;
    std::vector<std::function<void()>> pendingDone_;
    int showCount_ = 0;
};

} // namespace velmora::testkit
