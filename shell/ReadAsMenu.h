#pragma once

#include "cue/repair/RowReport.h"

#include <QMenu>
#include <functional>

namespace velmora {

// True when a run left a sheet as it was because its encoding could not be told.
bool EncodingUntold(const RowReport& report);

// Adds "Read as..." to a row's menu: one entry an encoding, each handing it to `readAs`.
void AddReadAsMenu(QMenu& menu, bool enabled, const std::function<void(SheetEncoding)>& readAs);

} // namespace velmora
