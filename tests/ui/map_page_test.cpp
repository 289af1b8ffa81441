// The Places page: Home at the start with its zone's time, moves of the map
// dropping the selection, the approximate local time, the current location
// handed to the report, naming a position through the dialog, and the
// night shade following the clock.
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/sky/location_store.h"
#include "orrery/sky/time_zones.h"
#include "orrery/ui/location_dlg.h"
#include "orrery/ui/map_page.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/scd_sheet.h"
#include "orrery/ui/world_map_ctrl.h"
#include "platform/ui/ddx.h"
#include "platform/ui/list_controls.h"
#include "tests/ui/orrery_fixture.h"

#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>

namespace {

const char kTimeFormat[] = "%I:%M %p  %a";

std::string ClockPlusHours(int hours) {
  return (CDateTime::GetCurrentTime() + CDateTimeSpan(0, hours, 0, 0)).Format(kTimeFormat);
}

class MapPageTest : public OrreryTest {
protected:
  enum { kReportTab = 0, kPlacesTab = 2 };

  MapPageTest() { CDateTime::FixCurrentTime(CDateTime(2024, 1, 15, 10, 30, 0)); }
  ~MapPageTest() override {
    delete sheet.data();
    doc.reset();
    CDateTime::FixCurrentTime(CDateTime());
  }
  // The window on the Places tab, with the places stored so far.
  void Open() {
    doc = std::make_unique<CReportDoc>(&places);
    sheet = new CScdSheet;
    sheet->SetPlaces(&places);
    sheet->SetDocument(doc.get());
    sheet->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
    ASSERT_TRUE(sheet->SetActivePage(kPlacesTab));
  }
  CMapPage& page() { return sheet->GetMapPage(); }
  CComboBox& names() { return *page().GetNameList(); }
  std::string Field(int id) { return page().GetDlgItemText(id).toStdString(); }
  // As the user picks a name.
  void Choose(int item) {
    names().SetCurSel(item);
    emit names().activated(item);
  }
  // As the map moves its marker while the user drags.
  void Drag(float latitude, float longitude) {
    page().UpdateData(true);
    page().GetMap()->SetPosition(latitude, longitude);
    page().UpdateData(false);
  }
  void Leave() { ASSERT_TRUE(sheet->SetActivePage(kReportTab)); }

  CLocationStore places;
  std::unique_ptr<CReportDoc> doc;
  QPointer<CScdSheet> sheet;
};

}  // namespace

TEST_F(MapPageTest, StartsOnHomeWithItsZonesTime) {
  places.SetLocation(0, Place("Tokyo", 35.68f, 139.69f, kTokyoKey, kTokyo));
  places.SetLocation(1, Place("Quay", 10.0f, 20.0f));
  Open();
  EXPECT_EQ(names().GetCount(), 5);
  EXPECT_EQ(names().GetCurSel(), 0);
  EXPECT_EQ(names().currentText(), "Tokyo");
  EXPECT_EQ(names().GetLBText(1), "Quay");
  EXPECT_EQ(Field(IDC_LATITUDE), "35.68");
  EXPECT_EQ(Field(IDC_LONGITUDE), "139.69");
  float latitude = 0, longitude = 0;
  page().GetMap()->GetPosition(latitude, longitude);
  EXPECT_EQ(latitude, 35.68f);
  EXPECT_EQ(longitude, 139.69f);
  EXPECT_STREQ(page().GetZoneKey(), kTokyoKey);
  // Tokyo's own clock, nine hours ahead of UTC all year.
  EXPECT_EQ(Field(IDC_LOCAL_TIME), (CDateTime::GetCurrentUtcTime() + CDateTimeSpan(0, 9, 0, 0)).Format(kTimeFormat));

  // A place without a zone shows the estimate from its longitude.
  Choose(1);
  EXPECT_EQ(Field(IDC_LATITUDE), "10");
  EXPECT_EQ(page().GetZoneKey()[0], '\0');
  EXPECT_EQ(Field(IDC_LOCAL_TIME), ClockPlusHours(1 - 9));

  // The map fills the page's left part, from (3, 7) to (208, 122) in dialog units.
  const QSize base = DialogBaseUnits(page().font());
  EXPECT_EQ(page().GetMap()->parentWidget(), &page());
  EXPECT_EQ(page().GetMap()->geometry(),
            QRect(QPoint((3 * base.width() + 2) / 4, (7 * base.height() + 4) / 8),
                  QPoint((208 * base.width() + 2) / 4 - 1, (122 * base.height() + 4) / 8 - 1)));
}

TEST_F(MapPageTest, MovingTheMarkerDropsThePlaceAndMovesTheTimeByWholeHours) {
  places.SetLocation(0, Place("Home", 40.0f, 100.0f, kTokyoKey, kTokyo));  // hour 6
  Open();
  const struct {
    float longitude;
    int hours;
  } cases[] = {
      {-74.0f, -10}, {14.9f, -6}, {-14.9f, -6}, {15.0f, -5}, {-15.0f, -7}, {104.0f, 0}, {180.0f, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.longitude);
    Drag(-33.9f, c.longitude);
    EXPECT_EQ(names().GetCurSel(), -1);
    EXPECT_EQ(page().GetZoneKey()[0], '\0');
    EXPECT_EQ(page().GetZoneName()[0], '\0');
    EXPECT_EQ(Field(IDC_LATITUDE), "-33.9");
    EXPECT_EQ(Field(IDC_LOCAL_TIME), ClockPlusHours(c.hours));
  }
}

TEST_F(MapPageTest, TheFieldsFollowADragAndADoubleClickNamesThePosition) {
  places.SetLocation(0, Place("Home", 40.0f, 100.0f, kTokyoKey, kTokyo));
  Open();
  CWorldMapCtrl* map = page().GetMap();
  const QPoint start = map->ClientRect().center();
  float latitude = 0, longitude = 0;
  QTest::mousePress(map, Qt::LeftButton, {}, start);
  for (const QPoint step : {QPoint(0, 0), QPoint(15, 5), QPoint(-60, 30)}) {
    QTest::mouseMove(map, start + step);
    map->GetPosition(latitude, longitude);
    EXPECT_EQ(Field(IDC_LATITUDE), FloatText(latitude).toStdString());
    EXPECT_EQ(Field(IDC_LONGITUDE), FloatText(longitude).toStdString());
    EXPECT_EQ(names().GetCurSel(), -1);
    EXPECT_EQ(page().GetZoneKey()[0], '\0');
  }
  QTest::mouseRelease(map, Qt::LeftButton, {}, start + QPoint(-60, 30));
  EXPECT_NE(longitude, 100.0f);

  QString shown;
  OnNextModal([&](QWidget* w) {
    auto* dialog = dynamic_cast<CLocationDlg*>(w);
    ASSERT_NE(dialog, nullptr);
    shown = dialog->GetDlgItemText(IDC_LOCATION_LONGITUDE);
    dialog->SendCommand(IDC_LOCATION_CLOSE);
  });
  QTest::mouseDClick(map, Qt::LeftButton, {}, start + QPoint(-60, 30));
  map->GetPosition(latitude, longitude);
  EXPECT_EQ(shown, FloatText(longitude));
}

TEST_F(MapPageTest, LeavingWithoutANameGivesTheReportAnUnnamedPlaceOnTheWholeHourZone) {
  places.SetLocation(0, Place("Home", 40.0f, 100.0f, kTokyoKey, kTokyo));
  Open();
  Drag(-33.9f, -74.0f);
  Leave();
  LocationRecord current = doc->GetCurrentLocation();
  EXPECT_STREQ(current.name, "");
  EXPECT_EQ(current.latitude, -33.9f);
  EXPECT_EQ(current.longitude, -74.0f);
  EXPECT_STREQ(current.zoneKey, "");
  // The Report page appended the place's section on the whole-hour zone.
  const QString report = sheet->GetReportPage().GetView()->toPlainText();
  EXPECT_TRUE(report.contains("TimeZone: GMT-4")) << report.toStdString();
}

TEST_F(MapPageTest, ComingBackWhileTheReportIsOnHomeSelectsHome) {
  places.SetLocation(0, Place("Home", 40.0f, 100.0f));
  places.SetLocation(3, Place("Oslo", 59.9f, 10.7f));
  Open();
  Choose(3);
  Leave();
  EXPECT_STREQ(doc->GetCurrentLocation().name, "Oslo");
  ASSERT_TRUE(sheet->SetActivePage(kPlacesTab));
  EXPECT_EQ(names().currentText(), "Oslo");  // the report is on Oslo: as it was

  Leave();
  doc->ResetToToday();  // the Report page's Clear
  ASSERT_TRUE(sheet->SetActivePage(kPlacesTab));
  EXPECT_EQ(names().GetCurSel(), 0);
  EXPECT_EQ(Field(IDC_LATITUDE), "40");
  EXPECT_EQ(Field(IDC_LONGITUDE), "100");
  EXPECT_EQ(Field(IDC_LOCAL_TIME), ClockPlusHours(0));
}

TEST_F(MapPageTest, APlaceWithMoreThanSixDigitsKeepsItsZone) {
  places.SetLocation(0, Place("Home", 40.0f, 100.0f));
  places.SetLocation(2, Place("London", 51.50735f, -0.12776f, kLondonKey, kLondon));
  Open();
  Choose(2);
  EXPECT_EQ(Field(IDC_LATITUDE), "51.5074");
  // Through the dialog and back, unchanged.
  OnNextModal([](QWidget* w) {
    auto* dialog = dynamic_cast<CLocationDlg*>(w);
    ASSERT_NE(dialog, nullptr);
    dialog->SendCommand(IDC_LOCATION_CLOSE);
  });
  page().SendCommand(IDC_NEW_PLACE);
  EXPECT_EQ(names().currentText(), "London");
  Leave();
  const LocationRecord current = doc->GetCurrentLocation();
  EXPECT_STREQ(current.name, "London");
  EXPECT_STREQ(current.zoneKey, kLondonKey);
  EXPECT_EQ(current.latitude, 51.50735f);
  EXPECT_EQ(current.longitude, -0.12776f);
  ASSERT_TRUE(sheet->SetActivePage(kPlacesTab));
  EXPECT_EQ(names().currentText(), "London");
}

TEST_F(MapPageTest, EveryWayOfNamingOpensTheDialogOnThePositionShown) {
  places.SetLocation(0, Place("Home", 40.0f, 100.0f));
  Open();
  const struct {
    unsigned command;  // the New button, the map's menu, a double click on the map
    int slotItem;
    const char* name;
  } cases[] = {{IDC_NEW_PLACE, 0, "Quay"}, {ID_SAVE_LOCATION, 1, "Pier"}, {IDC_MAP, 3, "Dock"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Drag(-33.9f, -74.0f);
    std::string shownLatitude;
    OnNextModal([&](QWidget* w) {
      auto* dialog = dynamic_cast<CLocationDlg*>(w);
      ASSERT_NE(dialog, nullptr);
      shownLatitude = dialog->GetDlgItemText(IDC_LOCATION_LATITUDE).toStdString();
      dialog->GetSlotBox()->SetCurSel(c.slotItem);
      dialog->SetDlgItemText(IDC_LOCATION_NAME, c.name);
      dialog->GetZoneBox()->SetCurSel(dialog->GetZoneBox()->FindStringExact(-1, kLondon));
      dialog->SendCommand(IDC_LOCATION_SAVE);
      dialog->SendCommand(IDC_LOCATION_CLOSE);
    });
    if (c.command == IDC_NEW_PLACE)
      qobject_cast<QPushButton*>(page().GetDlgItem(IDC_NEW_PLACE))->click();
    else
      page().SendCommand(c.command);  // as the map hands them on
    EXPECT_EQ(shownLatitude, "-33.9");
    EXPECT_STREQ(places.GetLocation(c.slotItem + 1)->name, c.name);
    EXPECT_STREQ(places.GetLocation(c.slotItem + 1)->zoneKey, kLondonKey);
    EXPECT_EQ(names().currentText(), c.name);
    EXPECT_STREQ(page().GetZoneKey(), kLondonKey);
    EXPECT_EQ(Field(IDC_LATITUDE), "-33.9");
  }
}

TEST_F(MapPageTest, TheNightShadeFollowsTheClockWhileThePageIsShown) {
  Open();
  const QImage atOpening = page().GetMap()->GetPicture();
  CDateTime::FixCurrentTime(CDateTime(2024, 1, 15, 16, 30, 0));
  page().OnTimer(CMapPage::kShadeTimer);  // five minutes on
  const QImage later = page().GetMap()->GetPicture();
  EXPECT_NE(later, atOpening);
  Leave();
  EXPECT_FALSE(page().KillTimer(CMapPage::kShadeTimer));  // no timer while another page is shown
  CDateTime::FixCurrentTime(CDateTime(2024, 1, 15, 22, 30, 0));
  ASSERT_TRUE(sheet->SetActivePage(kPlacesTab));
  EXPECT_NE(page().GetMap()->GetPicture(), later);
  EXPECT_TRUE(page().KillTimer(CMapPage::kShadeTimer));
}
