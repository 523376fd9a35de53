#pragma once

#include <gtest/gtest.h>

namespace velmora {

// Fails the test when Qt reports anything at warning level or above while it runs.
class QtWarningGuard : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace velmora
