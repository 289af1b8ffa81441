// Orrery's main window: a modeless property sheet of five tabs under a band
// with the date line, the window's system menu and the "?" button.
#pragma once

#include "orrery/ui/date_page.h"
#include "orrery/ui/info_page.h"
#include "orrery/ui/map_page.h"
#include "orrery/ui/option_page.h"
#include "orrery/ui/report_page.h"
#include "platform/ui/property_sheet.h"

#include <string>

class CLocationStore;
class CReportDoc;
class QLabel;

class CScdSheet : public CPropertySheet {
  Q_OBJECT
public:
  // Builds the pages and creates the window, hidden.
  CScdSheet();
  ~CScdSheet() override;

  // False when the window refused creation (no timer).
  bool IsCreated() const { return m_created; }

  // Sets the text only when it differs, byte for byte; returns whether it did.
  bool SetDateLine(const std::string& text);
  std::string GetDateLine() const;
  void SetPlaces(CLocationStore* places);
  void SetDocument(CReportDoc* doc);
  CReportDoc* GetDocument() const { return m_doc; }

  // Applies the placement saved in "WindowPos"; false when there is none, the
  // size changed or the rectangle is off the screen.
  bool RestorePosition();
  bool SavePosition();
  // Asks for a new notes folder, opening at the current one; offers to move
  // the notes files into a folder that has none.
  void ChoosePersonalDirectory();
  // Shows the notes again after they changed under the pages (another
  // writer, another folder).
  void RefreshNotesViews();
  void ShowAbout();

  CReportPage& GetReportPage() { return m_reportPage; }
  CDatePage& GetDatePage() { return m_datePage; }
  CMapPage& GetMapPage() { return m_mapPage; }
  COptionPage& GetOptionPage() { return m_optionPage; }
  CInfoPage& GetInfoPage() { return m_infoPage; }
  QLabel* GetDateLineControl() const { return m_dateLine; }

  bool Create() override;
  bool OnCreate() override;
  bool OnInitDialog() override;
  void OnDestroy() override;
  void PostNcDestroy() override;
  void OnSysCommand(unsigned id) override;
  bool OnCommand(unsigned id) override;
  bool OnContextMenu(QWidget* w, const QPoint& pos) override;
  void OnTimer(unsigned id) override;

signals:
  void notesDirectoryChanged();

public:
  // Creation fails as when no timer is available (tests).
  static void FailTimerForTesting(bool fail);

private:
  QLabel* m_dateLine = nullptr;
  CReportPage m_reportPage;
  CDatePage m_datePage;
  CMapPage m_mapPage;
  COptionPage m_optionPage;
  CInfoPage m_infoPage;
  CReportDoc* m_doc = nullptr;
  CLocationStore* m_places = nullptr;
  bool m_created = false;
};
