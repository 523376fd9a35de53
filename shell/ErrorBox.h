#pragma once

#include "errors/ErrorMessages.h"

#include <QString>
#include <exception>
#include <functional>
#include <string_view>

namespace velmora {

// The program's title: the executable's file name up to its first ".", the
// first character as it is and the rest in lower case.
QString ProgramTitle(const QString& executablePath);

// A failure that ended a batch of sheets (a drop) before its last sheet: the
// sheets after the failing one were not processed.
class StoppedBatchError : public Error {
public:
    StoppedBatchError(const Error& cause, std::string sheetPath, int unprocessed)
        : Error(cause.what(), std::move(sheetPath), cause.LineNumber()), unprocessed_(unprocessed) {}

    int Unprocessed() const { return unprocessed_; }

private:
    int unprocessed_;
};

// What the error box says about one failure: the message with its full stop;
// the sheet's path and the line at fault, when known, as detail; how many
// sheets of its batch were left undone.
struct ErrorBoxContent {
    QString text;
    QString detail;
    QString unprocessed;
};
ErrorBoxContent ErrorBoxFor(const std::exception& error);

// The standard error box: stop icon, one OK button, the program's title, the
// message with its full stop. Returns when the user has closed it.
void ShowErrorBox(std::string_view message);
void ShowErrorBox(const std::exception& error);

// Calls `release` once the next error box has been closed: a second start whose
// run failed waits for the box that tells the user so.
void ReleaseAfterErrorBox(std::function<void()> release);

} // namespace velmora
