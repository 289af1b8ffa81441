// The base of Orrery's property pages: the report document, tooltips, the
// Help button and the pages' context help.
#pragma once

#include "platform/ui/property_sheet.h"

class CReportDoc;

class CScdPage : public CPropertyPage {
  Q_OBJECT
public:
  explicit CScdPage(unsigned templateId, unsigned captionId = 0, QWidget* parent = nullptr);
  ~CScdPage() override;

  void SetDocument(CReportDoc* doc) { m_doc = doc; }
  CReportDoc* GetDocument() const { return m_doc; }

  // Enables the tooltips of the controls (string resource "prompt\ntip" of
  // the control's identifier).
  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnCommand(unsigned id) override;
  // The Help button: the help file's contents.
  virtual void OnHelpButton();
  // Passes only the low 16 bits of the context number on.
  void WinHelp(unsigned long data, HelpCommand command) override;

protected:
  CReportDoc* m_doc = nullptr;
};
