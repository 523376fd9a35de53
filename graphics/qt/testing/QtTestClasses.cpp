#include "graphics/qt/testing/QtTestClasses.h"

#include <QTest>

namespace velmora::testkit {

namespace {

bool TakesValue(const QString& option) {
    static const QStringList options{"-o",        "-maxwarnings", "-eventdelay",
                                     "-keydelay", "-mousedelay",  "-seed"};
    return options.contains(option);
}

// The command line for one test class: every option, and only the test functions named on the command
// line that this class has. Empty when functions were named but none of them is this class's.
QStringList ArgumentsFor(const QObject& test, const QStringList& arguments) {
    QStringList own{arguments.first()};
    bool named = false;
    bool mine = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith('-')) {
            own << argument;
            if (TakesValue(argument) && i + 1 < arguments.size()) {
                own << arguments[++i];
            }
            continue;
        }
        named = true;
        const QByteArray function = argument.section(':', 0, 0).toUtf8() + "()";
        if (test.metaObject()->indexOfMethod(function.constData()) >= 0) {
            own << argument;
            mine = true;
        }
    }
    return named && !mine ? QStringList() : own;
}

} // namespace

int RunTestClasses(const std::vector<QObject*>& tests, const QStringList& arguments) {
    int failures = 0;
    for (QObject* test : tests) {
        const QStringList own = ArgumentsFor(*test, arguments);
        if (!own.isEmpty()) {
            failures += QTest::qExec(test, own);
        }
    }
    return failures;
}

} // namespace velmora::testkit
