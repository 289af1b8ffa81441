// Adagio's dialog templates, positions in dialog units, and its pictures.
#include "adagio/res/ui_resources.h"

#include "adagio/res/ui_ids.h"
#include "platform/ui/ids.h"

#include <QtGlobal>

#include <iterator>

namespace {

using K = ControlKind;
const char kFont[] = "MS Sans Serif";

// The Name box (IDC_NAME) is a drop-down list: the window makes it itself
// in place of this entry, at its position; 59 units is the height of the
// opened list.
const ControlTemplate kGenerator[] = {
    {-1, K::GroupBox, "Source File", 7, 7, 276, 70, 0, 0},
    {-1, K::Static, "Name:", 14, 21, 37, 9, 0, 0},
    {IDC_NAME, K::Static, "", 54, 18, 167, 59, kVScroll | kTabStop, 0},
    {IDC_STATUS, K::Edit, "", 14, 35, 207, 33, kMultiLine | kReadOnly | kVScroll | kBorder, 0},
    {IDC_NEW, K::PushButton, "&New", 227, 18, 50, 14, kTabStop, 0},
    {IDC_EDIT, K::PushButton, "&Edit", 227, 36, 50, 14, kTabStop, 0},
    {IDC_HELP, K::PushButton, "&Help", 227, 54, 50, 14, kTabStop, 0},
    {IDC_GENERATE, K::PushButton, "&Generate", 117, 83, 50, 14, kDefault | kTabStop, 0},
    {IDC_CREDITS, K::PushButton, "&Credits", 172, 83, 50, 14, kTabStop, 0},
    {IDC_EXIT, K::PushButton, "E&xit", 227, 83, 50, 14, kTabStop, 0},
};

const ControlTemplate kAbout[] = {
    {-1, K::Picture, "", 7, 7, 72, 92, kCentre | kSunken, IDB_ABOUT},
    {-1, K::Static,
     "The Lumen Almanac about screen will display your title and subtitle as shown below.", 86, 7,
     181, 18, 0, 0},
    {-1, K::GroupBox, "Current Quotation File", 86, 28, 181, 50, 0, 0},
    {IDC_ABOUT_TITLE, K::Static, "", 94, 39, 166, 9, 0, 0},
    {IDC_ABOUT_SUBTITLE, K::Static, "", 94, 50, 166, 25, 0, 0},
    {-1, K::Static, "Word Processor of choice:", 86, 83, 120, 9, 0, 0},
    {IDC_ABOUT_EDITOR, K::Static, "", 86, 93, 181, 9, 0, 0},
    {-1, K::Static, "Version 1.15", 7, 108, 72, 9, 0, 0},
    {IDOK, K::PushButton, "OK", 217, 105, 50, 14, kDefault | kTabStop, 0},
};

const DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX, "About Lumen Quote Generator", 274, 126, kFont, 8,
     kDlgSysMenu | kDlgModalFrame | kDlgContextHelp, kAbout, std::size(kAbout)},
    {IDD_GENERATOR, "Lumen Quote File Generator", 290, 104, kFont, 8,
     kDlgSysMenu | kDlgContextHelp, kGenerator, std::size(kGenerator)},
};

const UiResources kResources = {
    kDialogs, std::size(kDialogs), nullptr, 0, ":/adagio/bitmap%1.bmp", ":/adagio/icon%1.png",
};

}  // namespace

// The pictures are compiled into a static library: register them explicitly.
static void InitPictures() { Q_INIT_RESOURCE(adagio); }

const UiResources& AdagioUiResources() {
  static const bool initialised = (InitPictures(), true);
  (void)initialised;
  return kResources;
}
