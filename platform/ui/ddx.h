// Data exchange and validation between a window's controls and its
// variables. A window overrides DoDataExchange and calls these in order;
// UpdateData(true) saves (controls to variables, with checks),
// UpdateData(false) loads. A failed check shows its message, gives the
// control the focus and ends the exchange.
#pragma once

#include "platform/ui/wnd.h"

#include <string>

class CDataExchange {
public:
  struct Failure {};

  CDataExchange(CWndHost* window, bool saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(window) {}

  const bool m_bSaveAndValidate;
  CWndHost* const m_pDlgWnd;

  // The control about to be exchanged; later failures name it.
  QWidget* PrepareCtrl(int id);
  // Shows nothing; gives the last prepared control the focus (an edit with
  // its text selected) and ends the exchange.
  [[noreturn]] void Fail();
  // Shows text in a message box first.
  [[noreturn]] void Fail(const QString& text);

private:
  int m_lastId = 0;
};

// Texts of edits and drop-down lists, in the user's charset.
void DDX_Text(CDataExchange* dx, int id, std::string& value);
// Whole numbers: "Please enter an integer." when the text holds none.
void DDX_Text(CDataExchange* dx, int id, int& value);
// Decimal numbers shown with six significant digits. Reading scans the
// longest numeric prefix after leading blanks ("12abc" is 12); a text
// without a number, or one that is not finite, gives "Please enter a
// number.".
void DDX_Text(CDataExchange* dx, int id, float& value);
// The same, except that a saving exchange leaves value as it is while the
// control still shows value's own text: a number with more than six
// significant digits survives the round trip through its control.
void DDX_TextExact(CDataExchange* dx, int id, float& value);
// A check box: 0 or 1.
void DDX_Check(CDataExchange* dx, int id, int& value);
// The group of radio buttons that starts at id: the index of the checked
// one, or -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// When saving: value must lie within min..max, or "Please enter a number
// between %1 and %2." with the bounds in six significant digits.
void DDV_MinMaxFloat(CDataExchange* dx, float value, float min, float max);

// The framework's texts of data exchange.
QString FloatText(double value);
// A number in text as the framework's float exchange reads it; false for
// none.
bool ScanFloat(const QString& text, double* value);
