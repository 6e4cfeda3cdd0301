#pragma once

namespace lumo {

enum class LineStyle { Solid, Dash, Dot, DashDot };

// What a mouse drag in the data area does to an axis.
enum class AxisMode { Scroll, Zoom };

// Toolbar buttons in toolbar order; the type is passed to the button
// notification.
enum class ToolBarButton {
    Resume,
    Pause,
    ScrollAxesMode,
    ZoomAxesMode,
    Select,
    ZoomBox,
    ZoomOut,
    ZoomIn,
    Cursor,
    Edit,
    Copy,
    Save,
    Print,
    Preview,
};
constexpr int ToolBarButtonCount = 14;

} // namespace lumo
