#include "TypInfo.h"

#include <climits>
#include <map>

#include "Forms.h"

namespace {

struct TClassProps {
  std::vector<TPropInfo> Own;
};

std::map<const TMetaClass*, TClassProps>& Published() {
  static std::map<const TMetaClass*, TClassProps> classes;
  return classes;
}

std::map<const TMetaClass*, std::vector<const TPropInfo*>>& PropLists();

template <std::size_t N>
constexpr int Count(const TIdentMapEntry (&)[N]) {
  return static_cast<int>(N);
}

}  // namespace

bool RegisterPublishedProperties(const TMetaClass& Class, std::vector<TPropInfo> Own) {
  Published()[&Class].Own = std::move(Own);
  PropLists().clear();
  return true;
}

namespace {

// The full list of a class, ancestors' properties first, a re-published one
// in its ancestor's place.
std::vector<const TPropInfo*> BuildPropList(const TMetaClass& Class) {
  std::vector<const TPropInfo*> list;
  if (Class.Parent) list = GetPropList(*Class.Parent);
  auto it = Published().find(&Class);
  if (it == Published().end()) return list;
  for (const TPropInfo& p : it->second.Own) {
    bool replaced = false;
    for (const TPropInfo*& q : list)
      if (_stricmp(q->Name, p.Name) == 0) {
        q = &p;
        replaced = true;
      }
    if (!replaced) list.push_back(&p);
  }
  return list;
}

// Reading a form looks a property up for every value, so each class's list
// is built once; registering a table starts the cache afresh.
std::map<const TMetaClass*, std::vector<const TPropInfo*>>& PropLists() {
  static std::map<const TMetaClass*, std::vector<const TPropInfo*>> lists;
  return lists;
}

}  // namespace

const std::vector<const TPropInfo*>& GetPropList(const TMetaClass& Class) {
  auto it = PropLists().find(&Class);
  if (it != PropLists().end()) return it->second;
  return PropLists()[&Class] = BuildPropList(Class);
}

const TPropInfo* GetPropInfo(const TMetaClass& Class, const AnsiString& Name) {
  for (const TPropInfo* p : GetPropList(Class))
    if (_stricmp(p->Name, Name.c_str()) == 0) return p;
  return nullptr;
}

const char* GetEnumName(const TTypeInfo& Type, std::int64_t Value) {
  if (Type.Names && Value >= Type.MinValue && Value <= Type.MaxValue)
    return Type.Names[Value - Type.MinValue];
  for (int i = 0; i < Type.IdentCount; ++i)
    if (Type.Idents[i].Value == Value) return Type.Idents[i].Name;
  return nullptr;
}

std::optional<std::int64_t> GetEnumValue(const TTypeInfo& Type, const AnsiString& Name) {
  if (Type.Names)
    for (std::int64_t v = Type.MinValue; v <= Type.MaxValue; ++v)
      if (_stricmp(Type.Names[v - Type.MinValue], Name.c_str()) == 0) return v;
  for (int i = 0; i < Type.IdentCount; ++i)
    if (_stricmp(Type.Idents[i].Name, Name.c_str()) == 0) return Type.Idents[i].Value;
  return std::nullopt;
}

// Ordinal types.
const TTypeInfo TypeInfo_int = {.Kind = tkInteger, .Name = "int", .MinValue = INT_MIN, .MaxValue = INT_MAX};
const TTypeInfo TypeInfo_short = {.Kind = tkInteger, .Name = "short", .MinValue = SHRT_MIN, .MaxValue = SHRT_MAX};
const TTypeInfo TypeInfo_unsigned_char = {.Kind = tkChar, .Name = "unsigned char", .MinValue = 0, .MaxValue = 255};
static const char* const BoolNames[] = {"false", "true"};
const TTypeInfo TypeInfo_bool = {.Kind = tkEnumeration, .Name = "bool", .MinValue = 0, .MaxValue = 1, .Names = BoolNames};
const TTypeInfo TypeInfo_float = {.Kind = tkFloat, .Name = "float", .FloatType = ftSingle};
const TTypeInfo TypeInfo_AnsiString = {.Kind = tkString, .Name = "AnsiString"};

// Named integer constants.
static const TIdentMapEntry Colors[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {0x008080, "clOlive"},
    {clNavy, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {0x00FFFF, "clYellow"},
    {clBlue, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {clWhite, "clWhite"},
    {0x1FFFFFFF, "clNone"}, {0x20000000, "clDefault"},
    {INT32_MIN | 0, "clScrollBar"}, {INT32_MIN | 1, "clBackground"},
    {INT32_MIN | 2, "clActiveCaption"}, {INT32_MIN | 3, "clInactiveCaption"},
    {INT32_MIN | 4, "clMenu"}, {INT32_MIN | 5, "clWindow"}, {INT32_MIN | 6, "clWindowFrame"},
    {INT32_MIN | 7, "clMenuText"}, {INT32_MIN | 8, "clWindowText"},
    {INT32_MIN | 9, "clCaptionText"}, {INT32_MIN | 10, "clActiveBorder"},
    {INT32_MIN | 11, "clInactiveBorder"}, {INT32_MIN | 12, "clAppWorkSpace"},
    {INT32_MIN | 13, "clHighlight"}, {INT32_MIN | 14, "clHighlightText"},
    {INT32_MIN | 15, "clBtnFace"}, {INT32_MIN | 16, "clBtnShadow"},
    {INT32_MIN | 17, "clGrayText"}, {INT32_MIN | 18, "clBtnText"},
    {INT32_MIN | 19, "clInactiveCaptionText"}, {INT32_MIN | 20, "clBtnHighlight"},
    {INT32_MIN | 21, "cl3DDkShadow"}, {INT32_MIN | 22, "cl3DLight"},
    {INT32_MIN | 23, "clInfoText"}, {INT32_MIN | 24, "clInfoBk"}};
const TTypeInfo TypeInfo_TColor = {.Kind = tkInteger, .Name = "TColor", .MinValue = INT_MIN,
                                   .MaxValue = INT_MAX, .Idents = Colors, .IdentCount = Count(Colors)};

static const TIdentMapEntry Cursors[] = {
    {0, "crDefault"}, {-1, "crNone"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"},
    {-6, "crSizeNESW"}, {-7, "crSizeNS"}, {-8, "crSizeNWSE"}, {-9, "crSizeWE"},
    {-10, "crUpArrow"}, {-11, "crHourGlass"}, {-12, "crDrag"}, {-13, "crNoDrop"},
    {-14, "crHSplit"}, {-15, "crVSplit"}, {-16, "crMultiDrag"}, {-17, "crSQLWait"},
    {-18, "crNo"}, {-19, "crAppStart"}, {-20, "crHelp"}, {-21, "crHandPoint"}, {-22, "crSizeAll"}};
const TTypeInfo TypeInfo_TCursor = {.Kind = tkInteger, .Name = "TCursor", .MinValue = SHRT_MIN,
                                    .MaxValue = SHRT_MAX, .Idents = Cursors, .IdentCount = Count(Cursors)};

static const TIdentMapEntry Charsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"},
    {134, "GB2312_CHARSET"}, {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},
    {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"}, {177, "HEBREW_CHARSET"},
    {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"}};
const TTypeInfo TypeInfo_TFontCharset = {.Kind = tkInteger, .Name = "TFontCharset", .MinValue = 0,
                                         .MaxValue = 255, .Idents = Charsets, .IdentCount = Count(Charsets)};

// Enumerations and sets.
LUMO_ENUM_TYPEINFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")
LUMO_ENUM_TYPEINFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
LUMO_ENUM_TYPEINFO(TDragMode, "dmManual", "dmAutomatic")
LUMO_ENUM_TYPEINFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
LUMO_ENUM_TYPEINFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
const TTypeInfo TypeInfo_TFontStyles = {.Kind = tkSet, .Name = "TFontStyles", .CompType = &TypeInfo_TFontStyle};

// Classes and events.
const TTypeInfo TypeInfo_TFont = {.Kind = tkClass, .Name = "TFont", .ClassType = &TFont::StaticClass};
const TTypeInfo TypeInfo_TPopupMenu = {.Kind = tkClass, .Name = "TPopupMenu",
                                       .ClassType = &TPopupMenu::StaticClass};
#define LUMO_EVENT_TYPE(Type) \
  const TTypeInfo TypeInfo_##Type = {.Kind = tkMethod, .Name = #Type, .MethodType = &typeid(Type)};
LUMO_EVENT_TYPE(TNotifyEvent)
LUMO_EVENT_TYPE(TMouseEvent)
LUMO_EVENT_TYPE(TMouseMoveEvent)
LUMO_EVENT_TYPE(TMouseWheelEvent)
LUMO_EVENT_TYPE(TMouseWheelUpDownEvent)
LUMO_EVENT_TYPE(TMouseActivateEvent)
LUMO_EVENT_TYPE(TDragDropEvent)
LUMO_EVENT_TYPE(TDragOverEvent)
LUMO_EVENT_TYPE(TStartDragEvent)
LUMO_EVENT_TYPE(TEndDragEvent)

namespace {

// A form's client size follows from its size and the frame of its window
// style, so that it reads without a window.
SIZE FormFrame() {
  RECT r = {0, 0, 0, 0};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

TPropInfo ClientSizeProperty(const char* Name, bool Width) {
  auto get = Width ? +[](TObject* o, TPropValue& v) { v.Ord = static_cast<TForm*>(o)->Width() - FormFrame().cx; }
                   : +[](TObject* o, TPropValue& v) { v.Ord = static_cast<TForm*>(o)->Height() - FormFrame().cy; };
  auto set = Width ? +[](TObject* o, const TPropValue& v) {
                       static_cast<TForm*>(o)->SetWidth(static_cast<int>(v.Ord) + FormFrame().cx);
                     }
                   : +[](TObject* o, const TPropValue& v) {
                       static_cast<TForm*>(o)->SetHeight(static_cast<int>(v.Ord) + FormFrame().cy);
                     };
  // Width and Height are what is written; the client size is read.
  return TPropInfo{Name, &TypeInfo_int, get, set, std::nullopt, false};
}

const bool FrameworkPublished[] = {
    RegisterPublishedProperties(TComponent::StaticClass(),
                                {LUMO_PUBLISHED(TComponent, Name, TypeInfo_AnsiString, std::nullopt, false)}),
    RegisterPublishedProperties(TControl::StaticClass(),
                                {LUMO_PUBLISHED(TControl, Left, TypeInfo_int),
                                 LUMO_PUBLISHED(TControl, Top, TypeInfo_int),
                                 LUMO_PUBLISHED(TControl, Width, TypeInfo_int),
                                 LUMO_PUBLISHED(TControl, Height, TypeInfo_int)}),
    RegisterPublishedProperties(TFont::StaticClass(),
                                {LUMO_PUBLISHED(TFont, Charset, TypeInfo_TFontCharset),
                                 LUMO_PUBLISHED(TFont, Color, TypeInfo_TColor),
                                 LUMO_PUBLISHED(TFont, Height, TypeInfo_int),
                                 LUMO_PUBLISHED(TFont, Name, TypeInfo_AnsiString),
                                 LUMO_PUBLISHED(TFont, Pitch, TypeInfo_TFontPitch, fpDefault),
                                 LUMO_PUBLISHED(TFont, Size, TypeInfo_int, std::nullopt, false),
                                 LUMO_PUBLISHED(TFont, Style, TypeInfo_TFontStyles)}),
    RegisterPublishedProperties(TForm::StaticClass(),
                                {LUMO_PUBLISHED(TForm, Caption, TypeInfo_AnsiString),
                                 ClientSizeProperty("ClientHeight", false),
                                 ClientSizeProperty("ClientWidth", true),
                                 LUMO_PUBLISHED(TForm, Color, TypeInfo_TColor, clBtnFace),
                                 LUMO_PUBLISHED(TForm, Font, TypeInfo_TFont),
                                 LUMO_PUBLISHED(TForm, OldCreateOrder, TypeInfo_bool, false),
                                 LUMO_PUBLISHED(TForm, PixelsPerInch, TypeInfo_int, 96),
                                 LUMO_PUBLISHED(TForm, TextHeight, TypeInfo_int, 13)}),
};

}  // namespace
