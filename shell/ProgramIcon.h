#pragma once

#include <QIcon>

namespace velmora {

// The program's icon, the circular logo in 16, 32 and 48 pixels.
QIcon ProgramIcon();

} // namespace velmora
