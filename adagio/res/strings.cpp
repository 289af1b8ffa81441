#include "adagio/res/strings.h"

#include "adagio/res/resource.h"

namespace {

const StringResource kStrings[] = {
    {IDS_ABOUT_MENU, "&About Quote Generator"},
    {IDS_WINDOW_TITLE, "Lumen Quote File Generator"},
    {IDS_REGISTRY_KEY_ADAGIO, "Vantrel Software\\Lumen Almanac"},
    {IDS_CANNOT_START_EDITOR,
     "Cannot start the editor for the current file.  Check to see if the file has been moved, "
     "deleted, or renamed.  Make sure the file is not being used by another application."},
    {IDS_SELECT_SOURCE, "Please press New to select a Source file or to create a new one."},
    {IDS_SOURCE_INACCESSIBLE,
     "The source file cannot be accessed.  Make sure it still exists and it is not being used "
     "by another program.  You might already have the file open in another window."},
    {IDS_SOURCE_READY,
     "Press Edit to modify the Source file you selected.  Press Generate to create a Quote file "
     "from your selected Source.  The New button allows you to either select an existing file, "
     "or type in the name of a file you want created."},
    {IDS_NO_TITLES,
     "Unable to obtain title and subtitle information.  Make sure this is a valid Source File.  "
     "If you edit the file in WORD or WORDPAD, make sure you save it as a text file."},
    {IDS_QUOTE_FILE_INACCESSIBLE,
     "Unable to access the quotation file (.DAY).  If the file already exists, make sure it is "
     "not in use by another program.  Be aware that the file cannot be your current Lumen quote "
     "file.  If this is the case, go to the Lumen Options tab, select a different quote file, "
     "select the Lumen Report tab, then press the Generate button again."},
    {IDS_CHOOSE_EDITOR_MENU, "Choose your &word processor..."},
};

const CStringTable kTable(kStrings, sizeof kStrings / sizeof kStrings[0]);

}  // namespace

const CStringTable& AdagioStringTable() { return kTable; }

std::string AdagioString(unsigned id) {
  const char* text = kTable.Find(id);
  return text ? text : "";
}
