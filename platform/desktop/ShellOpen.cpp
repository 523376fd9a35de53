#include "platform/desktop/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmora {

namespace {

ShellOpenHandler& CurrentHandler() {
    static ShellOpenHandler handler;
    return handler;
}

} // namespace

bool ShellOpen(const std::string& target, TextEncoding encoding) {
    if (const ShellOpenHandler& handler = CurrentHandler()) {
        return handler(target);
    }
    const std::u16string text = DecodeText(target, encoding);
    return QDesktopServices::openUrl(QUrl(QString::fromStdU16String(text)));
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    ShellOpenHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

} // namespace velmora
