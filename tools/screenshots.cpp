// Takes the pictures of the README: Orrery's main window on its Report,
// Dates, Places and Options pages, the Notes For The Day dialog and the Set
// Location of Interest dialog, with a demonstration profile in a temporary
// registry and notes folder. Run under Xvfb (tools/take-screenshots).
#include "common/gennote.h"
#include "orrery/main/scd_app.h"
#include "orrery/notes/note_store.h"
#include "orrery/quotes/quote_list.h"
#include "orrery/report/report_doc.h"
#include "orrery/sky/location_store.h"
#include "orrery/sky/time_zones.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/archive.h"
#include "platform/file.h"
#include "platform/registry.h"
#include "platform/ui/list_controls.h"
#include "platform/ui/placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

void Grab(const QWidget* window, const std::string& path) {
  const QRect r = window->frameGeometry();
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
  if (!shot.save(QString::fromStdString(path))) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

// A place with the zone whose key is zoneKey.
LocationRecord Place(const char* name, float latitude, float longitude, const char* zoneKey) {
  LocationRecord place;
  place.SetName(name);
  place.latitude = latitude;
  place.longitude = longitude;
  HKEY root = OpenTimeZoneRoot();
  LocationRecord zone;
  for (int i = 0; root && EnumTimeZone(root, i, zone); ++i) {
    if (std::string(zone.zoneKey) != zoneKey) continue;
    place.SetZoneKey(zone.zoneKey);
    place.SetZoneName(zone.zoneName);
    break;
  }
  if (root) RegCloseKey(root);
  return place;
}

// Notes on a few days of this month, shown bold on the Dates page.
void WriteDemoNotes() {
  CNoteStore notes;
  const CDateTime now = CDateTime::GetCurrentTime();
  notes.SetDatedText("Dentist at 10:30\r\nCall the garage about the winter tyres");
  notes.SetAnnualText("Grandma's birthday - ring her before lunch");
  notes.SetRemind(1);
  const struct {
    int day;
    const char* dated;
    const char* annual;
  } days[] = {{3, "Book club", ""}, {9, "", "Wedding anniversary"}, {17, "Piano lesson", ""},
              {24, "", "Christmas Eve"}, {25, "", "Christmas Day"}};
  for (const auto& d : days) {
    if (d.day == now.GetDay()) continue;
    notes.SetDate(CDateTime(now.GetYear(), now.GetMonth(), d.day));
    notes.SetDatedText(d.dated);
    notes.SetAnnualText(d.annual);
  }
}

// Two quotation files in the list, the first one current.
void WriteDemoQuotations(const std::string& folder) {
  const char* files[][4] = {
      {"garden", "Garden Sayings", "Words from the allotment", "The garden is patient; so is the gardener."},
      {"voyages", "Sea Voyages", "Sailors' sayings", "A calm sea never made a skilled sailor."},
  };
  CQuoteList list;
  for (const auto& f : files) {
    CGenNote document;
    document.SetTitle(f[1]);
    document.SetSubtitle(f[2]);
    document.SetDefaultQuote(f[3]);
    const std::string path = folder + "/" + f[0] + ".day";
    {
      CFile file;  // closed before the list reads it
      if (!file.Open(path, CFile::modeCreate | CFile::modeWrite)) continue;
      CArchive ar(&file, CArchive::store);
      document.Serialize(ar);
      ar.Close();
    }
    if (list.AddFile(path) <= 0) std::fprintf(stderr, "cannot add %s\n", path.c_str());
  }
  list.SetCurrent(1);
  list.SaveList();
  list.SaveIndex();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string out = argv[1];
  char pattern[] = "/tmp/lumen-shots-XXXXXX";
  const std::string work = mkdtemp(pattern);
  setenv("LUMEN_REGISTRY_DIR", (work + "/registry").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (work + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (work + "/data").c_str(), 1);

  CScdApp app("Orrery");
  app.WriteProfileString("Schedule", "Path", work + "/");
  app.WriteProfileString("Options", "Name", "Robin");
  HKEY software = nullptr;
  RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS, &software);
  RegCloseKey(software);
  WriteDemoNotes();
  WriteDemoQuotations(work);
  {
    CLocationStore places;
    places.SetLocation(0, Place("London", 51.5074f, -0.1278f, "GMT Standard Time"));
    places.SetLocation(1, Place("New York", 40.7128f, -74.006f, "Eastern Standard Time"));
    places.SetLocation(2, Place("Tokyo", 35.6762f, 139.6503f, "Tokyo Standard Time"));
    places.SetLocation(3, Place("Cape Town", -33.9249f, 18.4241f, "South Africa Standard Time"));
    places.SetLocation(4, Place("Sydney", -33.8688f, 151.2093f, "AUS Eastern Standard Time"));
  }

  QApplication qt(argc, argv);
  if (!app.InitWindows(CDateTime::GetCurrentTime(), SW_SHOWNORMAL)) return 1;
  CScdSheet* sheet = app.GetMainWnd();
  sheet->move(40, 40);
  // Each step runs after its delay (ms), once the one before has returned;
  // a step that opens a modal dialog has it grabbed and closed meanwhile.
  auto grabModal = [&](const std::string& name) {
    QTimer::singleShot(1200, [&, name] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        Grab(dialog, out + "/" + name);
        dialog->close();
      }
    });
  };
  std::vector<std::pair<int, std::function<void()>>> steps = {
      {1500, [&] { Grab(sheet, out + "/orrery-report.png"); }},
      {0, [&] {
         grabModal("orrery-notes.png");
         sheet->GetReportPage().OnEditNotes();
       }},
      {0, [&] { sheet->SetActivePage(1); }},
      {800, [&] { Grab(sheet, out + "/orrery-dates.png"); }},
      {0, [&] { sheet->SetActivePage(2); }},
      {800, [&] { Grab(sheet, out + "/orrery-places.png"); }},
      {0, [&] {
         grabModal("orrery-location.png");
         sheet->GetMapPage().OnNamePosition();
       }},
      {0, [&] { sheet->SetActivePage(3); }},
      {800, [&] { Grab(sheet, out + "/orrery-options.png"); }},
  };
  // With --all, also the Info page and the About box.
  if (argc > 2 && std::string(argv[2]) == "--all") {
    steps.push_back({0, [&] { sheet->SetActivePage(4); }});
    steps.push_back({500, [&] { Grab(sheet, out + "/orrery-info.png"); }});
    steps.push_back({0, [&] {
                       grabModal("orrery-about.png");
                       sheet->ShowAbout();
                     }});
  }
  std::function<void(size_t)> run = [&](size_t i) {
    if (i == steps.size()) {
      sheet->DestroyWindow();
      return;
    }
    QTimer::singleShot(steps[i].first, [&, i] {
      steps[i].second();
      run(i + 1);
    });
  };
  run(0);
  const int code = QApplication::exec();
  app.ExitInstance(code);
  std::filesystem::remove_all(work);
  return code;
}
