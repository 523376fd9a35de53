#pragma once

#include <QObject>
#include <functional>
#include <string>

namespace velmora {

// The enumerations the markup controls publish, named as their layouts write them.
namespace MarkupControls {
Q_NAMESPACE

enum TGradientType { gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine };
Q_ENUM_NS(TGradientType)

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TBorderStyle)

enum TVAlignment { tvaTop, tvaCenter, tvaBottom };
Q_ENUM_NS(TVAlignment)

enum TAutoSizeType { asVertical, asHorizontal, asBoth };
Q_ENUM_NS(TAutoSizeType)

// Where the window docks the control; only the auto-sizing rules read it here.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
Q_ENUM_NS(TAlign)

} // namespace MarkupControls

using MarkupControls::TAlign;
using MarkupControls::TAutoSizeType;
using MarkupControls::TBevelCut;
using MarkupControls::TBorderStyle;
using MarkupControls::TGradientType;
using MarkupControls::TVAlignment;
using enum MarkupControls::TAlign;
using enum MarkupControls::TAutoSizeType;
using enum MarkupControls::TBevelCut;
using enum MarkupControls::TBorderStyle;
using enum MarkupControls::TGradientType;
using enum MarkupControls::TVAlignment;

// Events carry the control that raised them as Sender; anchors are the markup's Windows-1252 bytes.
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TAnchorClick = std::function<void(QObject* Sender, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(QObject* Sender, std::string& Anchor)>;
using TMouseEvent =
    std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;

} // namespace velmora
