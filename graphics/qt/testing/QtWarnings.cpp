#include "graphics/qt/testing/QtWarnings.h"

#include <QRegularExpression>
#include <QTest>
#include <QtGlobal>
#include <gtest/gtest.h>

namespace velmora::testkit {

namespace {

// The offscreen platform's notes that it cannot pass size hints on, raise a window or grab the keyboard
// for a popup menu.
const char* const kExpectedNotes =
    "^This plugin does not support (propagateSizeHints\\(\\)|raise\\(\\)|grabbing the keyboard)$";

CapturedQtWarnings* capture = nullptr;

void FailOnWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || IsExpectedQtNote(message)) {
        return;
    }
    if (capture != nullptr) {
        capture->messages.push_back(message.toStdString());
    } else {
        ADD_FAILURE() << "Qt reported: " << message.toStdString();
    }
}

} // namespace

bool IsExpectedQtNote(const QString& message) {
    static const QRegularExpression notes(kExpectedNotes);
    return notes.match(message).hasMatch();
}

void FailTestsOnQtWarnings() {
    qInstallMessageHandler(FailOnWarning);
}

void FailOnQtWarnings() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!") + kExpectedNotes + QStringLiteral(")")));
}

CapturedQtWarnings::CapturedQtWarnings() {
    capture = this;
}

CapturedQtWarnings::~CapturedQtWarnings() {
    capture = nullptr;
}

bool CapturedQtWarnings::Contains(const std::string& part) const {
    for (const std::string& message : messages) {
        if (message.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace velmora::testkit
