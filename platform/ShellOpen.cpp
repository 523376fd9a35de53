#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmora {

namespace {

ShellOpenHandler& CurrentHandler() {
    static ShellOpenHandler handler;
    return handler;
}

} // namespace

bool ShellOpen(const std::string& target) {
    if (const ShellOpenHandler& handler = CurrentHandler())
        return handler(target);
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    ShellOpenHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

} // namespace velmora
