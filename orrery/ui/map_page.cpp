#include "orrery/ui/map_page.h"

#include "orrery/report/report_doc.h"
#include "orrery/res/resource.h"
#include "orrery/res/ui_ids.h"
#include "orrery/sky/location_store.h"
#include "orrery/sky/time_zones.h"
#include "orrery/ui/location_dlg.h"
#include "orrery/ui/world_map_ctrl.h"
#include "platform/datetime.h"
#include "platform/strings.h"
#include "platform/ui/ddx.h"
#include "platform/ui/list_controls.h"
#include "platform/ui/text.h"

namespace {

// The map's place on the page: left, top, right, bottom in dialog units.
const int kMapLeft = 3, kMapTop = 7, kMapRight = 208, kMapBottom = 122;

// A name as the page hands it on holds at most 29 characters.
const size_t kListNameSize = 30;

// trunc(longitude / 15) as the whole-hour zone counts it.
int WholeHours(float longitude) {
  int bias = 0;
  LongitudeZone(longitude, &bias);
  return -bias / 60;
}

}  // namespace

CMapPage::CMapPage(QWidget* parent)
    : CScdPage(IDD_PLACES, 0, parent), m_map(std::make_unique<CWorldMapCtrl>()) {
  m_map->SetMenuId(IDR_MAP_MENU);
  m_map->SetPosition(m_latitude, m_longitude);
}

CMapPage::~CMapPage() = default;

CComboBox* CMapPage::GetNameList() const {
  return qobject_cast<CComboBox*>(GetDlgItem(IDC_PLACE_NAMES));
}

const LocationRecord* CMapPage::PlaceOfItem(int item) const {
  if (!m_places) return nullptr;
  if (item == 0) return &m_places->GetHome();
  return m_places->GetLocation(item);
}

std::string CMapPage::ListName() const {
  char name[kListNameSize];
  CopyToField(name, FromQ(GetDlgItemText(IDC_PLACE_NAMES)));
  return name;
}

void CMapPage::SetZone(const char* key, const char* name) {
  CopyToField(m_zoneKey, key);
  CopyToField(m_zoneName, name);
}

std::string CMapPage::ApproximateLocalTime(float longitude) const {
  const int home = m_places ? WholeHours(m_places->GetHome().longitude) : 0;
  const CDateTime time = CDateTime::GetCurrentTime() + CDateTimeSpan(0, WholeHours(longitude) - home, 0, 0);
  return time.Format(LoadString(IDS_LOCAL_TIME_FORMAT).c_str());
}

void CMapPage::DoDataExchange(CDataExchange* dx) {
  if (!dx->m_bSaveAndValidate) {
    m_map->GetPosition(m_latitude, m_longitude);
    m_localTime = ApproximateLocalTime(m_longitude);
  }
  // The fields show six digits; the position behind them keeps all of its
  // own, so a stored place stays selected with its zone.
  DDX_TextExact(dx, IDC_LATITUDE, m_latitude);
  DDX_TextExact(dx, IDC_LONGITUDE, m_longitude);
  DDX_Text(dx, IDC_LOCAL_TIME, m_localTime);
  CComboBox* names = GetNameList();
  if (!names) return;
  const LocationRecord* place = PlaceOfItem(names->GetCurSel());
  if (place && (place->latitude != m_latitude || place->longitude != m_longitude)) {
    // The position shown is no longer that place's.
    names->SetCurSel(-1);
    SetZone("", "");
  }
}

bool CMapPage::OnInitDialog() {
  CScdPage::OnInitDialog();
  // Both corners in the page's own dialog units.
  const QRect corners = DialogUnitsToPixels(DialogBaseUnits(GetDialogFont()), kMapLeft, kMapTop,
                                            kMapRight, kMapBottom);
  const QRect rect(corners.x(), corners.y(), corners.width() - corners.x(),
                   corners.height() - corners.y());
  m_map->Create(IDB_WORLD, rect, this, IDC_MAP);
  FillNameList();
  OnChooseLocation();
  return true;
}

void CMapPage::FillNameList(const char* name) {
  CComboBox* names = GetNameList();
  if (!names) return;
  names->ResetContent();
  for (int item = 0; item < CLocationStore::kCount; ++item)
    if (const LocationRecord* place = PlaceOfItem(item)) names->AddString(ToQ(place->name));
  names->SetCurSel(name ? names->FindStringExact(-1, ToQ(name)) : 0);
}

void CMapPage::OnChooseLocation() {
  CComboBox* names = GetNameList();
  if (const LocationRecord* place = names ? PlaceOfItem(names->GetCurSel()) : nullptr) {
    m_latitude = place->latitude;
    m_longitude = place->longitude;
    SetZone(place->zoneKey, place->zoneName);
  }
  m_map->SetPosition(m_latitude, m_longitude);
  UpdateData(false);
  if (!m_zoneKey[0]) return;
  // The zone's own time, daylight saving included, instead of the estimate.
  const CDateTime date = m_doc ? m_doc->GetReportDate() : CDateTime::GetCurrentTime();
  int bias = 0;
  ReadTimeZone(m_zoneKey, date, &bias);
  const CDateTime time = CDateTime::GetCurrentUtcTime() - CDateTimeSpan(0, 0, bias, 0);
  if (time.IsValid())
    SetDlgItemText(IDC_LOCAL_TIME, ToQ(time.Format(LoadString(IDS_LOCAL_TIME_FORMAT).c_str())));
}

void CMapPage::OnNamePosition() {
  LocationRecord working;
  working.SetName(ListName());
  UpdateData(true);
  working.SetZoneName(m_zoneName);
  working.SetZoneKey(m_zoneKey);
  working.latitude = m_latitude;
  working.longitude = m_longitude;

  CLocationDlg dialog(this);
  dialog.Prepare(m_places, &working);
  dialog.DoModal();

  m_latitude = working.latitude;
  m_longitude = working.longitude;
  SetZone(working.zoneKey, working.zoneName);
  m_map->SetPosition(m_latitude, m_longitude);
  UpdateData(false);
  FillNameList(working.name);
}

bool CMapPage::OnSetActive() {
  CComboBox* names = GetNameList();
  if (m_doc && m_places && names) {
    const LocationRecord current = m_doc->GetCurrentLocation();
    if (m_places->IsHome(current)) {
      names->SetCurSel(0);
      m_latitude = current.latitude;
      m_longitude = current.longitude;
      SetZone(current.zoneKey, current.zoneName);
      m_map->SetPosition(m_latitude, m_longitude);
    }
  }
  const bool result = CScdPage::OnSetActive();
  m_map->RefreshShade();
  SetTimer(kShadeTimer, kShadeInterval);
  return result;
}

bool CMapPage::OnKillActive() {
  UpdateData(true);
  if (m_doc) {
    LocationRecord current;
    current.SetName(ListName());
    current.latitude = m_latitude;
    current.longitude = m_longitude;
    current.SetZoneKey(m_zoneKey);
    current.SetZoneName(m_zoneName);
    m_doc->SetCurrentLocation(current);
  }
  if (!CScdPage::OnKillActive()) return false;
  KillTimer(kShadeTimer);
  return true;
}

void CMapPage::OnTimer(unsigned id) {
  if (id == kShadeTimer)
    m_map->RefreshShade();
  else
    CScdPage::OnTimer(id);
}

bool CMapPage::OnCommand(unsigned id) {
  switch (id) {
    case ID_SAVE_LOCATION:
    case IDC_MAP:
    case IDC_NEW_PLACE:
      OnNamePosition();
      return true;
    default:
      return CScdPage::OnCommand(id);
  }
}

bool CMapPage::OnControlNotify(int id, unsigned code) {
  if (id == IDC_PLACE_NAMES && code == CBN_SELCHANGE) {
    OnChooseLocation();
    return true;
  }
  return CScdPage::OnControlNotify(id, code);
}
