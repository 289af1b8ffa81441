// Resources as data: dialog templates, menus, and the program's bitmaps and
// icons (through Qt's resource system). A program registers its set once.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <cstddef>

// Control kinds of a dialog template.
enum class ControlKind {
  Static,      // text
  Picture,     // bitmap resource named by ControlTemplate::resource
  GroupBox,
  Edit,        // single-line, or multi-line with kMultiLine
  PushButton,  // with kDefault: the default button
  CheckBox,    // automatic check box
  UpDown,      // up-down control; with kAutoBuddy the previous control is its buddy
  ListBox,     // single-selection list (CListBox)
  ComboBox,    // drop-down list (CComboBox); with kSort its items are sorted
  RadioButton, // automatic radio button; kGroup starts a new group
  Custom,      // made by the window's CreateControl; a blank child by default
};

// Control styles.
enum : unsigned {
  kHidden = 1u << 0,     // created invisible
  kBorder = 1u << 1,
  kMultiLine = 1u << 2,
  kReadOnly = 1u << 3,
  kVScroll = 1u << 4,
  kTabStop = 1u << 5,
  kNoHideSel = 1u << 6,  // the selection stays visible without focus
  kWantReturn = 1u << 7, // Enter makes a new line
  kDefault = 1u << 8,    // the default push button
  kCentre = 1u << 9,
  kSunken = 1u << 10,
  kAutoBuddy = 1u << 11,
  kSetBuddyInt = 1u << 12,
  kArrowKeys = 1u << 13,
  kSort = 1u << 14,        // a sorted list or combo box
  kGroup = 1u << 15,       // the first control of a group (radio buttons)
  kNotify = 1u << 16,      // a list box that reports clicks and double clicks
  kAutoHScroll = 1u << 17, // an edit that scrolls sideways as the user types
};

struct ControlTemplate {
  int id;  // -1 for none
  ControlKind kind;
  const char* text;
  int x, y, cx, cy;  // dialog units
  unsigned style;
  unsigned resource;  // bitmap of a Picture
};

// Dialog styles.
enum : unsigned {
  kDlgSysMenu = 1u << 0,
  kDlgModalFrame = 1u << 1,
  kDlgContextHelp = 1u << 2,
};

struct DialogTemplate {
  unsigned id;
  const char* caption;
  int cx, cy;  // dialog units
  const char* face;
  int pointSize;
  unsigned style;
  const ControlTemplate* controls;
  size_t count;
};

// One item of a popup menu; id 0 is a separator.
struct MenuItemTemplate {
  unsigned id;
  const char* text;
};

// A menu resource: its first (only) submenu.
struct MenuTemplate {
  unsigned id;
  const MenuItemTemplate* items;
  size_t count;
};

struct UiResources {
  const DialogTemplate* dialogs;
  size_t dialogCount;
  const MenuTemplate* menus;
  size_t menuCount;
  // Qt resource paths: "%1" is replaced by the resource number.
  const char* bitmapPath;  // e.g. ":/orrery/bitmap%1.bmp"
  const char* iconPath;    // e.g. ":/orrery/icon%1.png"
};

// The current program's resources (null until set).
void SetUiResources(const UiResources* resources);
const DialogTemplate* FindDialogTemplate(unsigned id);
const MenuTemplate* FindMenuTemplate(unsigned id);
QPixmap LoadBitmap(unsigned id);
// A larger rendering of bitmap id for high-density screens, named
// "<id>_<scale>x" in the bitmap path ("bitmap130_2x.bmp"); null when the
// program has none.
QPixmap LoadBitmap(unsigned id, int scale);
QIcon LoadIcon(unsigned id);

// A font by face name, falling back to an installed face of the same
// character ("MS Sans Serif": a plain sans serif; "Arial": a sans of Arial's
// metrics; "Playbill": a condensed display serif). pointSize > 0 gives points, pixelHeight > 0 pixels.
QFont MakeFaceFont(const char* face, int pointSize, int pixelHeight = 0, int weight = 400);

// A font whose character cell (ascent + descent) is at most cellHeight
// pixels, as a font asked for by its cell height.
QFont MakeCellFont(const char* face, int cellHeight, int weight = 400);

// The dialog base units of a font: average character width, character height.
QSize DialogBaseUnits(const QFont& font);
// Dialog units to pixels: horizontal base / 4, vertical base / 8.
QRect DialogUnitsToPixels(const QSize& base, int x, int y, int cx, int cy);
