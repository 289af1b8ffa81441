#include "platform/ui/ddx.h"

#include "platform/c_locale.h"
#include "platform/ui/ids.h"
#include "platform/ui/shell.h"
#include "platform/ui/text.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include <climits>
#include <cmath>
#include <cstdio>

namespace {

const char kParseInt[] = "Please enter an integer.";
const char kParseReal[] = "Please enter a number.";
const char kParseRealRange[] = "Please enter a number between %1 and %2.";

}  // namespace

QWidget* CDataExchange::PrepareCtrl(int id) {
  m_lastId = id;
  return m_pDlgWnd->GetDlgItem(id);
}

void CDataExchange::Fail() {
  if (QWidget* w = m_pDlgWnd->GetDlgItem(m_lastId)) {
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
  }
  throw Failure{};
}

void CDataExchange::Fail(const QString& text) {
  AfxMessageBox(m_pDlgWnd->GetWidget(), text, MB_ICONWARNING);
  Fail();
}

QString FloatText(double value) {
  return QString::fromLatin1(FormatC("%.6g", value).c_str());
}

bool ScanFloat(const QString& text, double* value) {
  const std::string bytes = text.toLatin1().toStdString();
  const CLocaleScope c;
  return std::sscanf(bytes.c_str(), "%lf", value) == 1;
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
  dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = FromQ(dx->m_pDlgWnd->GetDlgItemText(id));
  else
    dx->m_pDlgWnd->SetDlgItemText(id, ToQ(value));
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  dx->PrepareCtrl(id);
  if (!dx->m_bSaveAndValidate) {
    dx->m_pDlgWnd->SetDlgItemInt(id, value);
    return;
  }
  const std::string bytes = dx->m_pDlgWnd->GetDlgItemText(id).toLatin1().toStdString();
  long scanned = 0;
  char rest = 0;
  const int n = std::sscanf(bytes.c_str(), " %ld %c", &scanned, &rest);
  if (n != 1 || scanned < INT_MIN || scanned > INT_MAX) dx->Fail(QString::fromLatin1(kParseInt));
  value = static_cast<int>(scanned);
}

void DDX_Text(CDataExchange* dx, int id, float& value) {
  dx->PrepareCtrl(id);
  if (!dx->m_bSaveAndValidate) {
    dx->m_pDlgWnd->SetDlgItemText(id, FloatText(value));
    return;
  }
  double scanned = 0;
  // Not finite: "nan" and "inf" scan as numbers, but no check could hold them.
  if (!ScanFloat(dx->m_pDlgWnd->GetDlgItemText(id), &scanned) || !std::isfinite(scanned) ||
      std::fabs(scanned) > 3.4028234663852886e38)
    dx->Fail(QString::fromLatin1(kParseReal));
  value = static_cast<float>(scanned);
}

void DDX_TextExact(CDataExchange* dx, int id, float& value) {
  if (dx->m_bSaveAndValidate && dx->m_pDlgWnd->GetDlgItemText(id) == FloatText(value)) {
    dx->PrepareCtrl(id);
    return;
  }
  DDX_Text(dx, id, value);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  auto* button = qobject_cast<QAbstractButton*>(dx->PrepareCtrl(id));
  if (!button) return;
  if (dx->m_bSaveAndValidate)
    value = button->isChecked() ? 1 : 0;
  else
    button->setChecked(value != 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  auto* first = qobject_cast<QRadioButton*>(dx->PrepareCtrl(id));
  QButtonGroup* group = first ? first->group() : nullptr;
  if (!group) return;
  const QList<QAbstractButton*> buttons = group->buttons();
  if (dx->m_bSaveAndValidate) {
    value = -1;
    for (int i = 0; i < buttons.size(); ++i)
      if (buttons[i]->isChecked()) value = i;
    return;
  }
  const bool exclusive = group->exclusive();
  group->setExclusive(false);
  for (int i = 0; i < buttons.size(); ++i) buttons[i]->setChecked(i == value);
  group->setExclusive(exclusive);
}

void DDV_MinMaxFloat(CDataExchange* dx, float value, float min, float max) {
  if (!dx->m_bSaveAndValidate || (value >= min && value <= max)) return;
  dx->Fail(QString::fromLatin1(kParseRealRange).arg(FloatText(min), FloatText(max)));
}
