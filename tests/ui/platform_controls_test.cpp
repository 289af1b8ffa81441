// The UI layer's list boxes, drop-down lists and radio groups in templates,
// and data exchange with its checks and messages.
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "platform/ui/list_controls.h"
#include "tests/ui/ui_test_util.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <string>
#include <vector>

namespace {

using K = ControlKind;
const ControlTemplate kControls[] = {
    {20, K::ListBox, "", 5, 5, 60, 40, kNotify | kVScroll, 0},
    {21, K::ComboBox, "", 70, 5, 60, 80, kSort, 0},
    {22, K::Edit, "", 5, 50, 40, 12, kBorder, 0},
    {23, K::Edit, "", 50, 50, 40, 12, kBorder, 0},
    {24, K::GroupBox, "Mode", 5, 65, 120, 40, 0, 0},
    {30, K::RadioButton, "A", 10, 75, 40, 10, kGroup, 0},
    {31, K::RadioButton, "B", 10, 85, 40, 10, 0, 0},
    {32, K::RadioButton, "C", 10, 95, 40, 10, 0, 0},
    {40, K::RadioButton, "Other group", 60, 75, 40, 10, kGroup, 0},
    {IDOK, K::PushButton, "OK", 100, 110, 40, 14, kDefault, 0},
};
const DialogTemplate kDialogs[] = {
    {700, "Controls", 150, 130, "MS Sans Serif", 8, 0, kControls, std::size(kControls)},
};
const UiResources kResources = {kDialogs, 1, nullptr, 0, nullptr, nullptr};

class ControlsDialog : public CDialog {
public:
  ControlsDialog() : CDialog(700) {}
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 22, latitude);
    DDV_MinMaxFloat(dx, latitude, -90.0f, 90.0f);
    DDX_Text(dx, 23, count);
    DDX_Radio(dx, 30, mode);
  }
  bool OnControlNotify(int id, unsigned code) override {
    notes.push_back(id * 10 + static_cast<int>(code));
    return true;
  }
  CListBox* List() const { return qobject_cast<CListBox*>(GetDlgItem(20)); }
  CComboBox* Combo() const { return qobject_cast<CComboBox*>(GetDlgItem(21)); }
  float latitude = 0.0f;
  int count = 0;
  int mode = -1;
  std::vector<int> notes;
};

class ControlsTest : public ::testing::Test {
protected:
  ControlsTest() {
    SetUiResources(&kResources);
    EXPECT_TRUE(dialog.Create());
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }
  ~ControlsTest() override { SetUiResources(nullptr); }
  // Runs a saving exchange that is to show a message, or none; returns the
  // message shown.
  QString Save(bool expectMessage, bool* ok = nullptr) {
    QString shown;
    if (expectMessage) {
      OnNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
      });
    }
    const bool result = dialog.UpdateData(true);
    if (ok) *ok = result;
    return shown;
  }
  ControlsDialog dialog;
};

}  // namespace

TEST_F(ControlsTest, ProgramChangesAreSilentAndTheUsersNotify) {
  CListBox& list = *dialog.List();
  list.AddString("one");
  list.AddString("two");
  EXPECT_EQ(list.SetCurSel(1), 1);
  EXPECT_EQ(list.SetCurSel(5), -1);
  EXPECT_EQ(list.GetCurSel(), -1);
  EXPECT_TRUE(dialog.notes.empty());

  const QRect first = list.visualItemRect(list.item(0));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, first.center());
  EXPECT_EQ(list.GetCurSel(), 0);
  ASSERT_FALSE(dialog.notes.empty());
  EXPECT_EQ(dialog.notes.front(), 20 * 10 + static_cast<int>(LBN_SELCHANGE));
  EXPECT_EQ(dialog.notes.back(), 20 * 10 + static_cast<int>(LBN_DBLCLK));

  dialog.notes.clear();
  CComboBox& combo = *dialog.Combo();
  combo.AddString("b");
  EXPECT_EQ(combo.GetCurSel(), -1) << "nothing is selected by adding";
  combo.SetCurSel(0);
  EXPECT_TRUE(dialog.notes.empty());
  combo.setFocus();
  QTest::keyClick(&combo, Qt::Key_Up);  // nothing above: no choice made
  combo.AddString("a");
  QTest::keyClick(&combo, Qt::Key_Up);
  EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), "a");
  EXPECT_EQ(dialog.notes.back(), 21 * 10 + static_cast<int>(CBN_SELCHANGE));
}

TEST_F(ControlsTest, ASortedComboKeepsItsOrderAndItsItemsData) {
  CComboBox& combo = *dialog.Combo();
  for (const char* text : {"Pacific", "atlantic", "Indian", "Arctic"}) {
    const int at = combo.AddString(text);
    combo.SetItemData(at, static_cast<int>(std::string(text).size()));
  }
  QStringList items;
  for (int i = 0; i < combo.GetCount(); ++i) items << combo.GetLBText(i);
  EXPECT_EQ(items, QStringList({"Arctic", "atlantic", "Indian", "Pacific"}));
  EXPECT_EQ(combo.GetItemData(2), 6);
  EXPECT_EQ(combo.GetItemData(9), -1);
  EXPECT_EQ(combo.FindStringExact(-1, "INDIAN"), 2);
  EXPECT_EQ(combo.FindStringExact(-1, "Ind"), -1);
  EXPECT_EQ(combo.FindStringExact(2, "arctic"), 0) << "the search wraps";
  // The box is as high as its font, whatever the template's list height.
  EXPECT_LT(combo.height(), 40);
}

TEST_F(ControlsTest, RadioGroupsExcludeWithinThemselvesAndMayHaveNoneChecked) {
  dialog.mode = 2;
  dialog.UpdateData(false);
  EXPECT_EQ(dialog.GetCheckedRadioButton(30, 32), 32);
  dialog.CheckDlgButton(40, true);
  EXPECT_EQ(dialog.GetCheckedRadioButton(30, 32), 32) << "another group";
  qobject_cast<QRadioButton*>(dialog.GetDlgItem(31))->click();
  EXPECT_EQ(dialog.GetCheckedRadioButton(30, 32), 31);
  dialog.CheckRadioButton(30, 32, 0);
  EXPECT_EQ(dialog.GetCheckedRadioButton(30, 32), 0);
  dialog.SetDlgItemText(22, "0");
  dialog.SetDlgItemText(23, "0");
  EXPECT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.mode, -1);
}

TEST_F(ControlsTest, NumbersAreReadAndCheckedAsTheFrameworkDoes) {
  struct Case {
    const char* latitude;
    const char* count;
    const char* message;  // "" when accepted
    float value;
  } cases[] = {
      {"  51.5", "3", "", 51.5f},
      {"12abc", "3", "", 12.0f},
      {"-90", "0", "", -90.0f},
      {"abc", "3", "Please enter a number.", 0},
      {"nan", "3", "Please enter a number.", 0},
      {"inf", "3", "Please enter a number.", 0},
      {"1e39", "3", "Please enter a number.", 0},
      {"90.5", "3", "Please enter a number between -90 and 90.", 0},
      {"10", "3x", "Please enter an integer.", 10.0f},
  };
  for (const Case& c : cases) {
    dialog.latitude = -1.0f;
    dialog.SetDlgItemText(22, c.latitude);
    dialog.SetDlgItemText(23, c.count);
    bool ok = false;
    EXPECT_EQ(Save(*c.message != 0, &ok), c.message) << c.latitude << " " << c.count;
    EXPECT_EQ(ok, std::string(c.message).empty()) << c.latitude;
    if (ok || std::string(c.message) == "Please enter an integer.") {
      EXPECT_FLOAT_EQ(dialog.latitude, c.value) << c.latitude;
    }
    if (!ok) {
      // The offending field has the keyboard, its text selected.
      const int field = std::string(c.message) == "Please enter an integer." ? 23 : 22;
      auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(field));
      EXPECT_EQ(dialog.focusWidget(), edit) << c.latitude;
      EXPECT_EQ(edit->selectedText(), edit->text());
    }
  }
  // Shown with six significant digits.
  dialog.latitude = 51.50735f;
  dialog.UpdateData(false);
  EXPECT_EQ(dialog.GetDlgItemText(22), "51.5074");
}

TEST_F(ControlsTest, OkEndsTheDialogOnlyAfterASavingExchange) {
  dialog.SetDlgItemText(22, "100");
  dialog.SetDlgItemText(23, "1");
  OnNextModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->accept(); });
  dialog.OnOK();
  QTest::qWait(20);
  EXPECT_TRUE(dialog.isVisible());
  dialog.SetDlgItemText(22, "10");
  dialog.OnOK();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), static_cast<int>(IDOK));
}
