#include "shell/ProgramIcon.h"

namespace velmora {

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QString(":/images/velmora-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace velmora
