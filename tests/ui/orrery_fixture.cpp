#include "tests/ui/orrery_fixture.h"

#include "orrery/report/report_doc.h"
#include "orrery/res/ui_resources.h"
#include "common/gennote.h"
#include "orrery/sky/location_store.h"
#include "platform/archive.h"
#include "platform/file.h"
#include "platform/registry.h"

LocationRecord Place(const char* name, float latitude, float longitude, const char* zoneKey,
                     const char* zoneName) {
  LocationRecord r;
  r.SetName(name);
  r.latitude = latitude;
  r.longitude = longitude;
  r.SetZoneKey(zoneKey);
  r.SetZoneName(zoneName);
  return r;
}

OrreryTest::OrreryTest() {
  // One moment for the whole test: "today" read twice is the same day, even
  // across midnight.
  CDateTime::FixCurrentTime(CDateTime::GetCurrentTime());
  SetUiResources(&OrreryUiResources());
  app.WriteProfileString("Schedule", "Path", notesDir.path() + "/");
  // The machine-wide profile lives below HKEY_LOCAL_MACHINE\Software, which
  // every installed system has.
  HKEY software = nullptr;
  RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS, &software);
  RegCloseKey(software);
}

std::string OrreryTest::MakeQuoteFile(const std::string& name, const std::string& title,
                                      const std::string& subtitle, const std::string& quote) {
  CGenNote document;
  document.SetTitle(title);
  document.SetSubtitle(subtitle);
  document.SetDefaultQuote(quote);
  CFile file;
  const std::string path = notesDir.file(name);
  EXPECT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
  CArchive ar(&file, CArchive::store);
  document.Serialize(ar);
  ar.Close();
  return path;
}

OrreryTest::~OrreryTest() {
  m_doc.reset();
  m_places.reset();
  CDateTime::FixCurrentTime(CDateTime());
}

CReportDoc& OrreryTest::Doc() {
  if (!m_doc) {
    m_places = std::make_unique<CLocationStore>();
    m_doc = std::make_unique<CReportDoc>(m_places.get());
  }
  return *m_doc;
}
