// The Set Location of Interest dialog: shows a stored place or the working
// position, gives it a name and a time zone, and stores it into one of the
// five slots. Closing hands what it shows back through the working record.
#pragma once

#include "platform/registry.h"
#include "platform/ui/dialog.h"

#include <string>

class CComboBox;
class CLocationStore;
struct LocationRecord;

class CLocationDlg : public CDialog {
  Q_OBJECT
public:
  // Items of the location box (0 "New", 1..4 the numbered places) and of the
  // slot box (0..3 numbered slots 1..4).
  enum : int { kNewItem = 0, kHomeItem = 5, kHomeSlotItem = 4 };

  explicit CLocationDlg(QWidget* parent = nullptr);
  // Closes the time zone database.
  ~CLocationDlg() override;

  // Before showing: the store Save writes to and the working record, which
  // every successful saving exchange fills.
  void Prepare(CLocationStore* store, LocationRecord* record);

  CComboBox* GetLocationBox() const;
  CComboBox* GetSlotBox() const;
  CComboBox* GetZoneBox() const;

  bool OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  bool OnCommand(unsigned id) override;
  bool OnControlNotify(int id, unsigned code) override;
  // Enter: Save; the dialog stays open.
  void OnOK() override;
  // Close, Esc and the close box: hands the values shown back, and ends
  // unless they are refused.
  void OnCancel() override;
  void WinHelp(unsigned long data, HelpCommand command) override;

  void OnLocationChosen();
  void OnSlotChosen();
  void OnSave();

private:
  void SelectName();

  HKEY m_zoneRoot = nullptr;
  LocationRecord* m_record = nullptr;
  CLocationStore* m_store = nullptr;
  float m_latitude = 0.0f;
  float m_longitude = 0.0f;
  std::string m_name;
};
