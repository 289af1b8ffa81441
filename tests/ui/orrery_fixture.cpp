#include "tests/ui/orrery_fixture.h"

#include "orrery/report/report_doc.h"
#include "orrery/res/ui_resources.h"
#include "orrery/sky/location_store.h"

OrreryTest::OrreryTest() {
  SetUiResources(&OrreryUiResources());
  app.WriteProfileString("Schedule", "Path", notesDir.path() + "/");
}

OrreryTest::~OrreryTest() {
  m_doc.reset();
  m_places.reset();
}

CReportDoc& OrreryTest::Doc() {
  if (!m_doc) {
    m_places = std::make_unique<CLocationStore>();
    m_doc = std::make_unique<CReportDoc>(m_places.get());
  }
  return *m_doc;
}
