#include "controls/MarkupLog.h"

namespace velmora {

Q_LOGGING_CATEGORY(lcMarkup, "velmora.markup", QtWarningMsg)

} // namespace velmora
