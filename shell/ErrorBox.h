#pragma once

#include <QString>
#include <functional>
#include <string_view>

namespace velmora {

// The program's title: the executable's file name up to its first ".", the
// first character as it is and the rest in lower case.
QString ProgramTitle(const QString& executablePath);

// The standard error box: stop icon, one OK button, the program's title, the
// message with its full stop. Returns when the user has closed it.
void ShowErrorBox(std::string_view message);

// Calls `release` once the next error box has been closed: a second start whose
// run failed waits for the box that tells the user so.
void ReleaseAfterErrorBox(std::function<void()> release);

} // namespace velmora
