#pragma once

// The metatype compiler reads the enumerations inside the block below instead, as it reads a file once.
#ifndef Q_MOC_RUN
#include "controls/core/ControlEnums.h"
#endif

#include <QObject>
#include <functional>
#include <string>

namespace velmora {

// The controls' enumerations, told to the property system so that layouts read and write their names.
namespace MarkupControls {
Q_NAMESPACE
#ifdef Q_MOC_RUN
// The metatype compiler registers only the enumerations it reads inside this block.
#include "controls/core/ControlEnumList.inc"
#endif
Q_ENUM_NS(TGradientType)
Q_ENUM_NS(TBevelCut)
Q_ENUM_NS(TBorderStyle)
Q_ENUM_NS(TVAlignment)
Q_ENUM_NS(TAutoSizeType)
Q_ENUM_NS(TAlign)
} // namespace MarkupControls

// Events carry the control that raised them as Sender; anchors are the markup's Windows-1252 bytes.
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TAnchorClick = std::function<void(QObject* Sender, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(QObject* Sender, std::string& Anchor)>;
using TMouseEvent =
    std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;

} // namespace velmora
