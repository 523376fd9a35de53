#include "platform/desktop/ShellOpen.h"

#include "text/Windows1252.h"

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
    if (const ShellOpenHandler& handler = CurrentHandler()) {
        return handler(target);
    }
    // Link targets come from markup, whose text is Windows-1252.
    return QDesktopServices::openUrl(QUrl(QString::fromStdU16String(DecodeWindows1252(target))));
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    ShellOpenHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

} // namespace velmora
