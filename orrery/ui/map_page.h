// The Places tab: the world map with a marker on the position shown, the
// five stored places, the position's latitude and longitude and an
// approximate local time there. Leaving the tab makes the position the
// report's current location.
#pragma once

#include "orrery/ui/scd_page.h"

#include <memory>
#include <string>

class CComboBox;
class CLocationStore;
class CWorldMapCtrl;
struct LocationRecord;

class CMapPage : public CScdPage {
  Q_OBJECT
public:
  // The night shade is redrawn this often while the page is active.
  static constexpr int kShadeInterval = 5 * 60 * 1000;
  enum : unsigned { kShadeTimer = 1 };

  explicit CMapPage(QWidget* parent = nullptr);
  ~CMapPage() override;

  void SetPlaces(CLocationStore* places) { m_places = places; }
  CWorldMapCtrl* GetMap() const { return m_map.get(); }
  CComboBox* GetNameList() const;
  float GetLatitude() const { return m_latitude; }
  float GetLongitude() const { return m_longitude; }
  const char* GetZoneKey() const { return m_zoneKey; }
  const char* GetZoneName() const { return m_zoneName; }

  void DoDataExchange(CDataExchange* dx) override;
  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnKillActive() override;
  bool OnCommand(unsigned id) override;
  bool OnControlNotify(int id, unsigned code) override;
  void OnTimer(unsigned id) override;

  // The five names; selects the first whose text equals name ignoring case
  // (none if none does), or Home without a name.
  void FillNameList(const char* name = nullptr);
  // Shows the selected stored place with its zone's time.
  void OnChooseLocation();
  // Names, zones and stores the position through the location dialog.
  void OnNamePosition();

  // The computer's clock moved by the whole hours of longitude between the
  // place and Home, formatted as the local time field shows it.
  std::string ApproximateLocalTime(float longitude) const;

private:
  // The stored place of a name list item (0 Home, 1..4), or null.
  const LocationRecord* PlaceOfItem(int item) const;
  // The name list's text, cut as a place's name is handed on.
  std::string ListName() const;
  void SetZone(const char* key, const char* name);

  std::unique_ptr<CWorldMapCtrl> m_map;
  CLocationStore* m_places = nullptr;
  char m_zoneKey[80] = {};
  char m_zoneName[80] = {};
  float m_latitude = 0.0f;
  float m_longitude = 0.0f;
  std::string m_localTime;
};
