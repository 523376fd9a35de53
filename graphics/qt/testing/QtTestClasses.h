#pragma once

#include <QObject>
#include <QStringList>
#include <vector>

namespace velmora::testkit {

// Runs the QtTest classes of one program with the command line's options. Test functions named on the
// command line run in whichever class has them, so that `controls_tests NAME` runs one function; a
// class that has none of them does not run. Returns the number of failed tests.
int RunTestClasses(const std::vector<QObject*>& tests, const QStringList& arguments);

} // namespace velmora::testkit
