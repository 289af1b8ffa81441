// The Set Location of Interest dialog: the place it opens on, the proposed
// names, the checks of latitude and longitude, Save into a slot, closing,
// long names, the sorted zone list and context help.
#include "orrery/res/ui_ids.h"
#include "orrery/sky/location_store.h"
#include "orrery/sky/time_zones.h"
#include "orrery/ui/location_dlg.h"
#include "platform/ui/list_controls.h"
#include "tests/ui/orrery_fixture.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <string>

namespace {

class LocationDlgTest : public OrreryTest {
protected:
  void Open(const LocationRecord& working) {
    record = working;
    dialog.Prepare(&places, &record);
    ASSERT_TRUE(dialog.Create());
  }
  QString Text(int id) { return dialog.GetDlgItemText(id); }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id)); }
  // As the user picks an item of a drop-down list.
  static void Choose(CComboBox* box, int item) {
    box->SetCurSel(item);
    emit box->activated(item);
  }
  void ChooseZone(const char* display) {
    const int item = dialog.GetZoneBox()->FindStringExact(-1, display);
    ASSERT_GE(item, 0) << display;
    dialog.GetZoneBox()->SetCurSel(item);
  }

  CLocationStore places;
  LocationRecord record;
  CLocationDlg dialog;
};

QStringList Items(const CComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->GetCount(); ++i) items << box->GetLBText(i);
  return items;
}

}  // namespace

TEST_F(LocationDlgTest, ListsTheLocationsSlotsAndZonesSortedWithTheirIndex) {
  places.SetLocation(0, Place("Lisbon", 38.7f, -9.1f));
  places.SetLocation(3, Place("Oslo", 59.9f, 10.7f));
  Open(Place("", 0, 0));
  EXPECT_EQ(Items(dialog.GetLocationBox()), QStringList({"New", "1", "2", "3", "4", "Home"}));
  EXPECT_EQ(Items(dialog.GetSlotBox()),
            QStringList({"1              Location1", "2              Location2", "3              Oslo",
                         "4              Location4", "Home     Lisbon"}));
  EXPECT_EQ(dialog.GetSlotBox()->GetDroppedWidth(), dialog.GetSlotBox()->width() * 3);

  CComboBox* zones = dialog.GetZoneBox();
  EXPECT_EQ(zones->GetDroppedWidth(), static_cast<int>(zones->width() * 1.75));
  HKEY root = OpenTimeZoneRoot();
  ASSERT_NE(root, nullptr);
  int count = 0;
  for (LocationRecord zone; EnumTimeZone(root, count, zone);) ++count;
  ASSERT_GT(count, 100);
  ASSERT_EQ(zones->GetCount(), count);
  bool reordered = false;
  for (int i = 0; i < count; ++i) {
    LocationRecord zone;
    ASSERT_TRUE(EnumTimeZone(root, zones->GetItemData(i), zone));
    EXPECT_EQ(zones->GetLBText(i).toStdString(), zone.zoneName) << i;
    reordered |= zones->GetItemData(i) != i;
    if (i > 0) {
      EXPECT_LE(QString::compare(zones->GetLBText(i - 1), zones->GetLBText(i), Qt::CaseInsensitive), 0);
    }
  }
  RegCloseKey(root);
  EXPECT_TRUE(reordered);  // the display texts sort otherwise than the keys

  // The index each item carries names the zone Save stores.
  ChooseZone(kTokyo);
  dialog.SendCommand(IDC_LOCATION_SAVE);
  EXPECT_STREQ(places.GetHome().zoneKey, kTokyoKey);
  EXPECT_STREQ(places.GetHome().zoneName, kTokyo);
}

TEST_F(LocationDlgTest, ARecordNamedLikeAStoredPlaceShowsThatPlaceExactly) {
  // More digits than the fields show.
  places.SetLocation(2, Place("London", 51.50735f, -0.12776f, kLondonKey, kLondon));
  Open(Place("London", 1.0f, 2.0f));
  EXPECT_EQ(dialog.GetLocationBox()->GetCurSel(), 2);
  EXPECT_EQ(Text(IDC_LOCATION_NAME), "London");
  EXPECT_EQ(Text(IDC_LOCATION_LATITUDE), "51.5074");
  EXPECT_EQ(Text(IDC_LOCATION_LONGITUDE), "-0.12776");
  EXPECT_EQ(dialog.GetZoneBox()->currentText(), kLondon);
  EXPECT_EQ(dialog.GetSlotBox()->GetCurSel(), 1);
  EXPECT_FALSE(dialog.GetSlotBox()->isEnabled());

  // Left as shown, the place goes back as it is stored, not as shown.
  dialog.SendCommand(IDC_LOCATION_CLOSE);
  EXPECT_EQ(record.latitude, 51.50735f);
  EXPECT_EQ(record.longitude, -0.12776f);
  EXPECT_STREQ(record.zoneKey, kLondonKey);
}

TEST_F(LocationDlgTest, AnUnknownNameIsNewWithTheProposedNameSelected) {
  places.SetLocation(2, Place("Oslo", 59.9f, 10.7f));
  Open(Place("Harbour", 12.5f, -3.0f));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.GetLocationBox()->GetCurSel(), CLocationDlg::kNewItem);
  EXPECT_EQ(Text(IDC_LOCATION_LATITUDE), "12.5");
  EXPECT_EQ(Text(IDC_LOCATION_LONGITUDE), "-3");
  EXPECT_EQ(dialog.GetSlotBox()->GetCurSel(), CLocationDlg::kHomeSlotItem);
  EXPECT_TRUE(dialog.GetSlotBox()->isEnabled());
  EXPECT_EQ(dialog.GetZoneBox()->GetCurSel(), -1);
  QLineEdit* name = Edit(IDC_LOCATION_NAME);
  EXPECT_EQ(name->text(), "New Home");
  EXPECT_EQ(name->selectedText(), "New Home");
  EXPECT_EQ(dialog.focusWidget(), name);

  // Two steps up the slot list with the keyboard: item 2.
  QTest::keyClick(dialog.GetSlotBox(), Qt::Key_Up);
  QTest::keyClick(dialog.GetSlotBox(), Qt::Key_Up);
  EXPECT_EQ(dialog.GetSlotBox()->GetCurSel(), 2);
  EXPECT_EQ(name->text(), "New Location 3");
  EXPECT_EQ(name->selectedText(), "New Location 3");
  EXPECT_EQ(dialog.focusWidget(), name);

  // Another location shows the stored one; "New" brings the record back.
  Choose(dialog.GetLocationBox(), 2);
  EXPECT_EQ(name->text(), "Oslo");
  EXPECT_EQ(Text(IDC_LOCATION_LATITUDE), "59.9");
  EXPECT_EQ(dialog.GetSlotBox()->GetCurSel(), 1);
  EXPECT_FALSE(dialog.GetSlotBox()->isEnabled());
  Choose(dialog.GetLocationBox(), CLocationDlg::kNewItem);
  EXPECT_EQ(Text(IDC_LOCATION_LATITUDE), "12.5");
  EXPECT_EQ(name->text(), "New Home");
  EXPECT_TRUE(dialog.GetSlotBox()->isEnabled());
  dialog.hide();
}

TEST_F(LocationDlgTest, LatitudeAndLongitudeAreCheckedWhenSaving) {
  const struct {
    const char* latitude;
    const char* longitude;
    const char* message;  // null: accepted
    int field;
    float savedLatitude, savedLongitude;
  } cases[] = {
      {"91", "0", "Please enter a number between -90 and 90.", IDC_LOCATION_LATITUDE, 0, 0},
      {"-90.5", "0", "Please enter a number between -90 and 90.", IDC_LOCATION_LATITUDE, 0, 0},
      {"0", "-180.5", "Please enter a number between -180 and 180.", IDC_LOCATION_LONGITUDE, 0, 0},
      {"abc", "0", "Please enter a number.", IDC_LOCATION_LATITUDE, 0, 0},
      {"0", "", "Please enter a number.", IDC_LOCATION_LONGITUDE, 0, 0},
      {"90", "-180", nullptr, 0, 90.0f, -180.0f},
      {" 12abc", "180", nullptr, 0, 12.0f, 180.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.latitude) + " " + c.longitude);
    LocationRecord working = Place("Harbour", 5.0f, 5.0f);
    CLocationDlg d;
    d.Prepare(&places, &working);
    ASSERT_TRUE(d.Create());
    d.show();
    d.SetDlgItemText(IDC_LOCATION_LATITUDE, c.latitude);
    d.SetDlgItemText(IDC_LOCATION_LONGITUDE, c.longitude);
    if (c.message) {
      // Neither Close nor Save gets past the message.
      for (unsigned command : {IDC_LOCATION_CLOSE, IDC_LOCATION_SAVE}) {
        QString shown;
        OnNextModal([&](QWidget* w) {
          auto* box = qobject_cast<QMessageBox*>(w);
          ASSERT_NE(box, nullptr);
          shown = box->text();
          box->button(QMessageBox::Ok)->click();
        });
        d.SendCommand(command);
        EXPECT_EQ(shown, c.message) << command;
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.focusWidget(), d.GetDlgItem(c.field));
      }
      EXPECT_EQ(working.latitude, 5.0f);
      EXPECT_FALSE(places.IsModified());
      d.hide();
    } else {
      d.SendCommand(IDC_LOCATION_CLOSE);
      EXPECT_FALSE(d.isVisible());
      EXPECT_EQ(working.latitude, c.savedLatitude);
      EXPECT_EQ(working.longitude, c.savedLongitude);
    }
  }
}

TEST_F(LocationDlgTest, SaveWritesTheChosenSlotAndTheDialogStaysOpen) {
  places.SetLocation(3, Place("Oslo", 59.9f, 10.7f));
  Open(Place("Harbour", 12.5f, -3.0f));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  // "New" with the Home slot: Enter in the name field saves over Home.
  QTest::keyClicks(Edit(IDC_LOCATION_NAME), "Lisbon");
  ChooseZone(kLondon);
  QTest::keyClick(Edit(IDC_LOCATION_NAME), Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  const LocationRecord& home = places.GetHome();
  EXPECT_STREQ(home.name, "Lisbon");
  EXPECT_EQ(home.latitude, 12.5f);
  EXPECT_EQ(home.longitude, -3.0f);
  EXPECT_STREQ(home.zoneKey, kLondonKey);
  EXPECT_STREQ(home.zoneName, kLondon);
  EXPECT_STREQ(record.name, "Lisbon");
  // The slot list keeps the names it was filled with.
  EXPECT_EQ(dialog.GetSlotBox()->GetLBText(CLocationDlg::kHomeSlotItem), "Home     ");

  // A stored place goes back into its own slot.
  Choose(dialog.GetLocationBox(), 3);
  dialog.SetDlgItemText(IDC_LOCATION_LATITUDE, "60.5");
  dialog.SendCommand(IDC_LOCATION_SAVE);
  EXPECT_STREQ(places.GetLocation(3)->name, "Oslo");
  EXPECT_EQ(places.GetLocation(3)->latitude, 60.5f);
  EXPECT_STREQ(places.GetHome().name, "Lisbon");
  dialog.hide();
}

TEST_F(LocationDlgTest, ClosingHandsTheShownValuesBackWithoutStoring) {
  enum Way { kEsc, kCloseButton, kCloseBox };
  for (Way way : {kEsc, kCloseButton, kCloseBox}) {
    SCOPED_TRACE(way);
    CLocationStore store;
    LocationRecord working = Place("Harbour", 12.5f, -3.0f);
    CLocationDlg d;
    d.Prepare(&store, &working);
    ASSERT_TRUE(d.Create());
    d.show();
    d.SetDlgItemText(IDC_LOCATION_NAME, "Quay");
    d.SetDlgItemText(IDC_LOCATION_LONGITUDE, "-4.25");
    const int zone = d.GetZoneBox()->FindStringExact(-1, kTokyo);
    d.GetZoneBox()->SetCurSel(zone);
    if (way == kEsc)
      QTest::keyClick(&d, Qt::Key_Escape);
    else if (way == kCloseButton)
      qobject_cast<QPushButton*>(d.GetDlgItem(IDC_LOCATION_CLOSE))->click();
    else
      d.close();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), int(IDCANCEL));
    EXPECT_STREQ(working.name, "Quay");
    EXPECT_EQ(working.latitude, 12.5f);
    EXPECT_EQ(working.longitude, -4.25f);
    EXPECT_STREQ(working.zoneKey, kTokyoKey);
    EXPECT_FALSE(store.IsModified());
  }
}

TEST_F(LocationDlgTest, AnEmptyNameWithAnEmptyHomeNameShowsHome) {
  places.SetLocation(0, Place("", 40.5f, 100.0f, kTokyoKey, kTokyo));
  Open(Place("", 7.0f, 8.0f));
  EXPECT_EQ(dialog.GetLocationBox()->GetCurSel(), CLocationDlg::kHomeItem);
  EXPECT_EQ(dialog.GetSlotBox()->GetCurSel(), CLocationDlg::kHomeSlotItem);
  EXPECT_FALSE(dialog.GetSlotBox()->isEnabled());
  EXPECT_EQ(Text(IDC_LOCATION_NAME), "");
  EXPECT_EQ(Text(IDC_LOCATION_LATITUDE), "40.5");
  EXPECT_EQ(dialog.GetZoneBox()->currentText(), kTokyo);
}

TEST_F(LocationDlgTest, ALongNameIsCutOnACharacterBoundary) {
  Open(Place("Harbour", 1.0f, 2.0f));
  // 30 bytes, then a two-byte letter that would end past the 31 a place holds.
  const std::string longName = std::string(30, 'a') + "\xC3\xA9nd";
  dialog.SetDlgItemText(IDC_LOCATION_NAME, QString::fromUtf8(longName.c_str()));
  dialog.SendCommand(IDC_LOCATION_SAVE);
  EXPECT_EQ(std::string(places.GetHome().name), std::string(30, 'a'));
  EXPECT_EQ(std::string(record.name), std::string(30, 'a'));
}

TEST_F(LocationDlgTest, ContextHelpShowsTheControlsPopups) {
  Open(Place("Harbour", 1.0f, 2.0f));
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  // The "?" button, then Shift+F1.
  dialog.OnSysCommand(SC_CONTEXTHELP);
  QTest::mouseClick(dialog.GetDlgItem(IDC_LOCATION_SAVE), Qt::LeftButton, {}, QPoint(5, 5));
  Edit(IDC_LOCATION_NAME)->setFocus();
  QTest::keyClick(Edit(IDC_LOCATION_NAME), Qt::Key_F1, Qt::ShiftModifier);
  QTest::mouseClick(dialog.GetZoneBox(), Qt::LeftButton, {}, QPoint(5, 5));
  using Call = std::pair<HelpCommand, unsigned long>;
  EXPECT_EQ(help.calls, (std::vector<Call>{{HELP_CONTEXTPOPUP, 0x10000 + IDC_LOCATION_SAVE},
                                          {HELP_CONTEXTPOPUP, 0x10000 + IDC_ZONE_BOX}}));
  EXPECT_FALSE(places.IsModified());  // the click on Save asked for help only
  dialog.hide();
}
