#include "graphics/qt/testing/QtTestSupport.h"

#include <QApplication>

namespace velmora::testkit {

namespace {

// One QApplication for the whole test program: QtCanvas takes its focus frames from the style.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "velmora-tests";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    void TearDown() override { delete application_; }

private:
    QApplication* application_ = nullptr;
};

const auto* const kRegistration = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void QtTest::SetUp() {
    FailTestsOnQtWarnings();
}

} // namespace velmora::testkit
