#include "shell/ReadAsMenu.h"

#include "cue/repair/EncodingDecision.h"
#include "shell/LocalizedText.h"

#include <algorithm>
#include <array>

namespace velmora {

bool EncodingUntold(const RowReport& report) {
    return std::any_of(report.Missing.begin(), report.Missing.end(),
                       [](const ReferenceOutcome& missing) { return missing.EncodingUntold; });
}

void AddReadAsMenu(QMenu& menu, bool enabled, const std::function<void(SheetEncoding)>& readAs) {
    constexpr std::array kEncodings = {SheetEncoding::Utf8,        SheetEncoding::Windows1252,
                                       SheetEncoding::Windows1251, SheetEncoding::ShiftJis,
                                       SheetEncoding::Gb18030,     SheetEncoding::Big5,
                                       SheetEncoding::Korean};
    QMenu* readAsMenu = menu.addMenu(LocalizedText("Read as..."));
    // A run may be working on the very sheet; it is read again once the list is quiet.
    readAsMenu->setEnabled(enabled);
    for (const SheetEncoding encoding : kEncodings) {
        QAction* action = readAsMenu->addAction(EncodingName(encoding));
        QObject::connect(action, &QAction::triggered, &menu, [readAs, encoding] { readAs(encoding); });
    }
}

} // namespace velmora
