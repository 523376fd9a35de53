#pragma once

#include <QLoggingCategory>

namespace velmora {

// Where the markup label reports the number of the anchor under the mouse. Its debug messages are off
// unless logging rules switch them on, as debugger output is unseen without a debugger.
Q_DECLARE_LOGGING_CATEGORY(lcMarkup)

} // namespace velmora
