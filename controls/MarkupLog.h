#pragma once

#include <QLoggingCategory>

namespace velmora {

// Where the markup label reports the number of the anchor under the mouse.
Q_DECLARE_LOGGING_CATEGORY(lcMarkup)

} // namespace velmora
