#include "orrery/ui/location_dlg.h"

#include "orrery/res/ui_ids.h"
#include "orrery/sky/location_store.h"
#include "orrery/sky/time_zones.h"
#include "platform/ui/ddx.h"
#include "platform/ui/list_controls.h"
#include "platform/ui/text.h"

#include <QLineEdit>

#include <cstdio>

namespace {

const char* const kLocationItems[] = {"New", "1", "2", "3", "4", "Home"};

}  // namespace

CLocationDlg::CLocationDlg(QWidget* parent) : CDialog(IDD_LOCATION, parent) {}

CLocationDlg::~CLocationDlg() {
  if (m_zoneRoot) RegCloseKey(m_zoneRoot);
}

void CLocationDlg::Prepare(CLocationStore* store, LocationRecord* record) {
  m_store = store;
  m_record = record;
  if (!record) return;
  m_name = record->name;
  m_latitude = record->latitude;
  m_longitude = record->longitude;
}

CComboBox* CLocationDlg::GetLocationBox() const {
  return qobject_cast<CComboBox*>(GetDlgItem(IDC_LOCATION_BOX));
}

CComboBox* CLocationDlg::GetSlotBox() const {
  return qobject_cast<CComboBox*>(GetDlgItem(IDC_SLOT_BOX));
}

CComboBox* CLocationDlg::GetZoneBox() const {
  return qobject_cast<CComboBox*>(GetDlgItem(IDC_ZONE_BOX));
}

bool CLocationDlg::OnInitDialog() {
  EnableContextHelpButton();
  CDialog::OnInitDialog();
  CComboBox* locations = GetLocationBox();
  CComboBox* slotBox = GetSlotBox();
  CComboBox* zones = GetZoneBox();
  if (!locations || !slotBox || !zones) return true;

  for (const char* item : kLocationItems) locations->AddString(QString::fromLatin1(item));

  m_zoneRoot = OpenTimeZoneRoot();
  LocationRecord zone;
  for (int i = 0; EnumTimeZone(m_zoneRoot, i, zone); ++i)
    zones->SetItemData(zones->AddString(ToQ(zone.zoneName)), i);
  zones->SetDroppedWidth(static_cast<int>(zones->width() * 1.75));
  zones->SetCurSel(-1);

  if (m_store) {
    char item[64];
    for (int slot = 1; slot <= 4; ++slot) {
      std::snprintf(item, sizeof item, "%d              %s", slot, m_store->GetLocation(slot)->name);
      slotBox->AddString(ToQ(item));
    }
    std::snprintf(item, sizeof item, "Home     %s", m_store->GetHome().name);
    slotBox->AddString(ToQ(item));
  }
  slotBox->SetDroppedWidth(slotBox->width() * 3);

  int chosen = kNewItem;
  if (m_store) {
    if (m_name == m_store->GetHome().name) chosen = kHomeItem;
    for (int slot = 1; slot <= 4; ++slot)
      if (m_name == m_store->GetLocation(slot)->name) chosen = slot;
  }
  locations->SetCurSel(chosen);
  OnLocationChosen();
  SelectName();
  return true;
}

void CLocationDlg::DoDataExchange(CDataExchange* dx) {
  DDX_TextExact(dx, IDC_LOCATION_LATITUDE, m_latitude);
  DDV_MinMaxFloat(dx, m_latitude, -90.0f, 90.0f);
  DDX_TextExact(dx, IDC_LOCATION_LONGITUDE, m_longitude);
  DDV_MinMaxFloat(dx, m_longitude, -180.0f, 180.0f);
  DDX_Text(dx, IDC_LOCATION_NAME, m_name);
  if (!dx->m_bSaveAndValidate || !m_record) return;
  m_record->SetName(m_name);  // cut to what a place holds
  m_record->latitude = m_latitude;
  m_record->longitude = m_longitude;
  if (CComboBox* zones = GetZoneBox(); zones && zones->GetCurSel() >= 0)
    EnumTimeZone(m_zoneRoot, zones->GetItemData(zones->GetCurSel()), *m_record);
}

void CLocationDlg::OnLocationChosen() {
  CComboBox* locations = GetLocationBox();
  CComboBox* slotBox = GetSlotBox();
  if (!locations || !slotBox) return;
  const int item = locations->GetCurSel();
  const LocationRecord* source = m_record;
  if (item == kNewItem || !m_store) {
    slotBox->SetCurSel(kHomeSlotItem);
    slotBox->setEnabled(true);
  } else {
    source = item == kHomeItem ? &m_store->GetHome() : m_store->GetLocation(item);
    slotBox->SetCurSel(item - 1);
    slotBox->setEnabled(false);
  }
  if (source) {
    m_name = source->name;
    m_latitude = source->latitude;
    m_longitude = source->longitude;
    if (CComboBox* zones = GetZoneBox())
      zones->SetCurSel(source->zoneName[0] ? zones->FindStringExact(-1, ToQ(source->zoneName)) : -1);
  }
  UpdateData(false);
  if (item == kNewItem) OnSlotChosen();
}

void CLocationDlg::OnSlotChosen() {
  CComboBox* slotBox = GetSlotBox();
  const int item = slotBox ? slotBox->GetCurSel() : kHomeSlotItem;
  if (item == kHomeSlotItem) {
    m_name = "New Home";
  } else {
    char name[32];
    std::snprintf(name, sizeof name, "New Location %d", item + 1);
    m_name = name;
  }
  UpdateData(false);
  SelectName();
}

void CLocationDlg::SelectName() {
  if (auto* name = qobject_cast<QLineEdit*>(GetDlgItem(IDC_LOCATION_NAME))) {
    name->setFocus(Qt::OtherFocusReason);
    name->selectAll();
  }
}

void CLocationDlg::OnSave() {
  CComboBox* slotBox = GetSlotBox();
  const int item = slotBox ? slotBox->GetCurSel() : -1;
  if (!UpdateData(true)) return;
  if (!m_store || !m_record || item < 0) return;
  m_store->SetLocation(item == kHomeSlotItem ? 0 : item + 1, *m_record);
}

bool CLocationDlg::OnCommand(unsigned id) {
  switch (id) {
    case IDC_LOCATION_SAVE:
      OnSave();
      return true;
    case IDC_LOCATION_CLOSE:
      OnCancel();
      return true;
    default:
      return CDialog::OnCommand(id);
  }
}

bool CLocationDlg::OnControlNotify(int id, unsigned code) {
  if (code != CBN_SELCHANGE) return false;
  if (id == IDC_LOCATION_BOX) {
    OnLocationChosen();
    return true;
  }
  if (id == IDC_SLOT_BOX) {
    OnSlotChosen();
    return true;
  }
  return false;
}

void CLocationDlg::OnOK() { OnSave(); }

void CLocationDlg::OnCancel() {
  if (UpdateData(true)) EndDialog(IDCANCEL);
}

void CLocationDlg::WinHelp(unsigned long data, HelpCommand command) {
  CDialog::WinHelp(data & 0xFFFF, command);
}
