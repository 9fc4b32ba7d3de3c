// The panel's published properties and events, in the order form files
// store them, with their declared defaults.
#include "Topengllumopanel.h"
#include "vcl/TypInfo.h"

LUMO_ENUM_TYPEINFO(TPFDPixelTypes, "f_PFD_TYPE_RGBA", "f_PFD_TYPE_COLORINDEX")
LUMO_ENUM_TYPEINFO(TOpenGLSwapBuffers, "Auto", "Manual")
LUMO_ENUM_TYPEINFO(TOpenGLPrintScale, "pglNone", "pglPrintToFit", "pglProportional")
LUMO_ENUM_TYPEINFO(TFont3DFormat, "f_WGL_FONT_LINES", "f_WGL_FONT_POLYGONS")
LUMO_ENUM_TYPEINFO(TPFDFlags, "f_PFD_DRAW_TO_WINDOW", "f_PFD_DRAW_TO_BITMAP", "f_PFD_SUPPORT_GDI",
                "f_PFD_SUPPORT_OPENGL", "f_PFD_GENERIC_ACCELERATED", "f_PFD_GENERIC_FORMAT",
                "f_PFD_NEED_PALETTE", "f_PFD_NEED_SYSTEM_PALETTE", "f_PFD_DOUBLEBUFFER",
                "f_PFD_STEREO", "f_PFD_SWAP_LAYER_BUFFERS")
const TTypeInfo TypeInfo_PFDFlagSet = {.Kind = tkSet, .Name = "Set", .CompType = &TypeInfo_TPFDFlags};

namespace {

typedef TOpenGLLumoPanel P;

const bool PanelPublished = RegisterPublishedProperties(P::StaticClass(), {
    // Re-published from the base classes, with their types and defaults.
    LUMO_PUBLISHED(P, Caption, TypeInfo_AnsiString),
    LUMO_PUBLISHED(P, Alignment, TypeInfo_TAlignment, taCenter),
    LUMO_PUBLISHED(P, Align, TypeInfo_TAlign, alNone),
    LUMO_PUBLISHED(P, DragCursor, TypeInfo_TCursor, crDrag),
    LUMO_PUBLISHED(P, DragMode, TypeInfo_TDragMode, dmManual),
    LUMO_PUBLISHED(P, Enabled, TypeInfo_bool, true),
    LUMO_PUBLISHED(P, ParentFont, TypeInfo_bool, true),
    LUMO_PUBLISHED(P, ParentShowHint, TypeInfo_bool, true),
    LUMO_PUBLISHED(P, PopupMenu, TypeInfo_TPopupMenu),
    LUMO_PUBLISHED(P, ShowHint, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, TabOrder, TypeInfo_short, -1),
    LUMO_PUBLISHED(P, TabStop, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, Visible, TypeInfo_bool, true),
    // The panel's own.
    LUMO_PUBLISHED(P, PixelType, TypeInfo_TPFDPixelTypes, f_PFD_TYPE_RGBA),
    LUMO_PUBLISHED(P, PFDFlags, TypeInfo_PFDFlagSet, 0),  // the empty set: always stored
    LUMO_PUBLISHED(P, cColorBits, TypeInfo_unsigned_char, 32),
    LUMO_PUBLISHED(P, cDepthBits, TypeInfo_unsigned_char, 32),
    LUMO_PUBLISHED(P, cAccBits, TypeInfo_unsigned_char, 8),
    LUMO_PUBLISHED(P, MultiSample, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, GLSwapBuffers, TypeInfo_TOpenGLSwapBuffers, Auto),
    LUMO_PUBLISHED(P, PixelsPerInch, TypeInfo_int, 96),
    LUMO_PUBLISHED(P, PrintScale, TypeInfo_TOpenGLPrintScale, pglProportional),
    LUMO_PUBLISHED(P, Font3D_Enabled, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, Font3D_Type, TypeInfo_TFont),
    LUMO_PUBLISHED(P, Font3D_FirstGylph, TypeInfo_int, 32),
    LUMO_PUBLISHED(P, Font3D_NumGylph, TypeInfo_int, 96),
    LUMO_PUBLISHED(P, Font3D_MaxDeviation, TypeInfo_float),
    LUMO_PUBLISHED(P, Font3D_Extrustion, TypeInfo_float),
    LUMO_PUBLISHED(P, Font3D_Format, TypeInfo_TFont3DFormat, f_WGL_FONT_POLYGONS),
    LUMO_PUBLISHED(P, Font2D_Enabled, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, Font2D_Type, TypeInfo_TFont),
    LUMO_PUBLISHED(P, Font2D_FirstGylph, TypeInfo_int, 32),
    LUMO_PUBLISHED(P, Font2D_NumGylph, TypeInfo_int, 96),
    LUMO_PUBLISHED(P, Fps_Enabled, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, Border, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, ToolWindow, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, AllowResize, TypeInfo_bool, false),
    LUMO_PUBLISHED(P, AllowMoving, TypeInfo_bool, false),
    // Inherited events.
    LUMO_PUBLISHED(P, OnClick, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnDblClick, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnDragDrop, TypeInfo_TDragDropEvent),
    LUMO_PUBLISHED(P, OnDragOver, TypeInfo_TDragOverEvent),
    LUMO_PUBLISHED(P, OnStartDrag, TypeInfo_TStartDragEvent),
    LUMO_PUBLISHED(P, OnEndDrag, TypeInfo_TEndDragEvent),
    LUMO_PUBLISHED(P, OnEnter, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnExit, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnMouseDown, TypeInfo_TMouseEvent),
    LUMO_PUBLISHED(P, OnMouseMove, TypeInfo_TMouseMoveEvent),
    LUMO_PUBLISHED(P, OnMouseUp, TypeInfo_TMouseEvent),
    LUMO_PUBLISHED(P, OnMouseWheel, TypeInfo_TMouseWheelEvent),
    LUMO_PUBLISHED(P, OnMouseWheelUp, TypeInfo_TMouseWheelUpDownEvent),
    LUMO_PUBLISHED(P, OnMouseWheelDown, TypeInfo_TMouseWheelUpDownEvent),
    LUMO_PUBLISHED(P, OnMouseActivate, TypeInfo_TMouseActivateEvent),
    LUMO_PUBLISHED(P, OnMouseEnter, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnMouseLeave, TypeInfo_TNotifyEvent),
    // The panel's own events.
    LUMO_PUBLISHED(P, OnInit, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnPreInit, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnError, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnResize, TypeInfo_TNotifyEvent),
    LUMO_PUBLISHED(P, OnPaint, TypeInfo_TNotifyEvent),
});

}  // namespace
