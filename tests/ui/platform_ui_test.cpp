// The UI layer: templates in dialog units, menus, the property sheet's pages,
// context help, the up-down control, help files and window placement.
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/help.h"
#include "platform/ui/menu.h"
#include "platform/ui/placement.h"
#include "platform/ui/property_sheet.h"
#include "platform/ui/spin_button.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/ui_test_util.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QWhatsThis>

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

const ControlTemplate kControls[] = {
    {10, ControlKind::Static, "Name", 7, 7, 40, 8, 0, 0},
    {11, ControlKind::Edit, "", 50, 5, 20, 12, kHidden, 0},
    {12, ControlKind::UpDown, "", 70, 5, 10, 12, kAutoBuddy | kSetBuddyInt, 0},
    {IDOK, ControlKind::PushButton, "OK", 100, 30, 50, 14, kDefault, 0},
};
const MenuItemTemplate kItems[] = {{1, "&One"}, {0, nullptr}, {3, "&Three"}};
const DialogTemplate kDialogs[] = {
    {500, "Test", 160, 50, "MS Sans Serif", 8, 0, kControls, std::size(kControls)},
    {501, "Second", 160, 50, "MS Sans Serif", 8, 0, kControls, 1},
};
const MenuTemplate kMenus[] = {{600, kItems, std::size(kItems)}};
const UiResources kResources = {kDialogs, 2, kMenus, 1, nullptr, nullptr};

class UiLayer : public ::testing::Test {
protected:
  void SetUp() override { SetUiResources(&kResources); }
  void TearDown() override { SetUiResources(nullptr); }
};

class TestDialog : public CDialog {
public:
  TestDialog() : CDialog(500) {}
};

class VetoPage : public CPropertyPage {
public:
  explicit VetoPage(unsigned id) : CPropertyPage(id) {}
  bool OnInitDialog() override {
    ++inits;
    return true;
  }
  bool OnKillActive() override { return allowLeave; }
  int inits = 0;
  bool allowLeave = true;
};

}  // namespace

TEST(DialogUnits, ConvertWithTheFontsBaseUnits) {
  struct Case {
    QSize base;
    int x, y, cx, cy;
    QRect expected;
  } cases[] = {
      {{6, 13}, 4, 8, 4, 8, {6, 13, 6, 13}},
      {{6, 13}, 0, 0, 328, 128, {0, 0, 492, 208}},
      {{7, 16}, 7, 7, 249, 117, {12, 14, 436, 234}},
      {{8, 16}, 1, 1, 0, 0, {2, 2, 0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DialogUnitsToPixels(c.base, c.x, c.y, c.cx, c.cy), c.expected) << c.cx;
}

TEST(DialogUnits, MissingFacesFallBackToInstalledOnes) {
  for (const char* face : {"MS Sans Serif", "Playbill"}) {
    const QFont font = MakeFaceFont(face, 8);
    EXPECT_TRUE(QFontInfo(font).exactMatch() || QFontInfo(font).family() != QLatin1String(face))
        << face;
    const QSize base = DialogBaseUnits(font);
    EXPECT_GT(base.width(), 2) << face;
    EXPECT_GT(base.height(), base.width()) << face;
  }
  EXPECT_LE(QFontMetrics(MakeCellFont("Playbill", 33)).height(), 33);
}

TEST_F(UiLayer, DialogBuildsTheTemplatesControls) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create());
  const QSize base = DialogBaseUnits(dialog.font());
  EXPECT_EQ(dialog.size(), DialogUnitsToPixels(base, 0, 0, 160, 50).size());
  EXPECT_EQ(dialog.GetDlgItem(IDOK)->geometry(), DialogUnitsToPixels(base, 100, 30, 50, 14));
  EXPECT_EQ(dialog.GetDlgItemText(10), "Name");
  EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.GetDlgItem(IDOK))->isDefault());
  EXPECT_TRUE(dialog.GetDlgItem(11)->isHidden());
  EXPECT_EQ(dialog.GetDlgItem(99), nullptr);

  // The up-down control writes its position into its buddy, within its range.
  auto* spin = qobject_cast<CSpinButton*>(dialog.GetDlgItem(12));
  ASSERT_NE(spin, nullptr);
  ASSERT_EQ(spin->GetBuddy(), dialog.GetDlgItem(11));
  int scrolls = 0;
  spin->onScroll = [&] { ++scrolls; };
  spin->SetRange(-2, 2);
  spin->SetPos(1);
  spin->Step(1);
  spin->Step(1);  // at the maximum: no move, no message
  EXPECT_EQ(dialog.GetDlgItemInt(11), 2);
  EXPECT_EQ(scrolls, 1);
  QTest::keyClick(spin, Qt::Key_Down);
  EXPECT_EQ(spin->GetPos(), 1);
}

TEST_F(UiLayer, MenusLoadAndChangeByCommand) {
  std::unique_ptr<CMenu> menu = CMenu::Load(600);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(CMenu::Load(601), nullptr);
  EXPECT_TRUE(menu->InsertMenu(3, 2, "&Two"));
  EXPECT_FALSE(menu->InsertMenu(9, 4, "&Four"));
  EXPECT_TRUE(menu->DeleteMenu(1));
  EXPECT_FALSE(menu->DeleteMenu(1));
  menu->AppendMenu(5, "&Five");
  std::vector<unsigned> ids;
  for (int i = 0; i < menu->GetMenuItemCount(); ++i) ids.push_back(menu->GetMenuItemID(i));
  EXPECT_EQ(ids, (std::vector<unsigned>{0, 2, 3, 5}));
  menu->EnableMenuItem(3, false);
  menu->SetDefaultItem(5);
  EXPECT_FALSE(menu->IsEnabled(3));
  EXPECT_TRUE(menu->IsEnabled(2));
  EXPECT_EQ(menu->GetDefaultItem(), 5u);
}

TEST_F(UiLayer, SheetCreatesPagesOnFirstActivationAndHonoursAVeto) {
  VetoPage first(500), second(501);
  CPropertySheet sheet("Sheet");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  ASSERT_TRUE(sheet.Create());
  EXPECT_EQ(sheet.GetTabControl()->tabText(1), "Second");
  EXPECT_EQ(first.inits, 1);
  EXPECT_FALSE(second.IsCreated());

  first.allowLeave = false;
  EXPECT_FALSE(sheet.SetActivePage(1));
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  EXPECT_EQ(sheet.GetTabControl()->currentIndex(), 0);
  first.allowLeave = true;
  EXPECT_TRUE(sheet.SetActivePage(1));
  EXPECT_TRUE(sheet.SetActivePage(0));
  EXPECT_TRUE(sheet.SetActivePage(1));
  EXPECT_EQ(second.inits, 1);
  EXPECT_FALSE(sheet.SetActivePage(2));
}

namespace {
// A sheet that holds its pages as members, as the programs' main windows do;
// the pages log their activations (none may happen while it goes).
class OwningSheet : public CPropertySheet {
public:
  explicit OwningSheet(std::vector<int>* activations)
      : CPropertySheet("Owning"), first(500, 0, activations), second(501, 1, activations) {
    AddPage(&first);
    AddPage(&second);
  }
  class Page : public CPropertyPage {
  public:
    Page(unsigned id, int index, std::vector<int>* log) : CPropertyPage(id), m_index(index), m_log(log) {}
    bool OnSetActive() override {
      m_log->push_back(m_index);
      return true;
    }
    bool OnKillActive() override {
      m_log->push_back(-1 - m_index);
      return true;
    }

  private:
    int m_index;
    std::vector<int>* m_log;
  };
  Page first, second;
};
}  // namespace

TEST_F(UiLayer, ASheetHoldingItsPagesAsMembersIsDestroyedCleanly) {
  for (int active : {0, 1}) {
    std::vector<int> activations;
    auto* sheet = new OwningSheet(&activations);
    ASSERT_TRUE(sheet->Create());
    ASSERT_TRUE(sheet->SetActivePage(active));
    const std::vector<int> before = activations;
    delete sheet;
    EXPECT_EQ(activations, before) << "active page " << active;
  }
}

TEST_F(UiLayer, WhatsThisClickAsksForTheControlsPopupAndF1ForTheWindowsTopic) {
  HelpRecorder help;
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  bool clicked = false;
  QObject::connect(qobject_cast<QPushButton*>(dialog.GetDlgItem(IDOK)), &QPushButton::clicked,
                   [&] { clicked = true; });

  dialog.OnSysCommand(SC_CONTEXTHELP);
  EXPECT_TRUE(IsHelpMode());
  QTest::mouseClick(dialog.GetDlgItem(IDOK), Qt::LeftButton);
  EXPECT_FALSE(clicked);
  EXPECT_FALSE(IsHelpMode());

  dialog.GetDlgItem(IDOK)->setFocus();
  QTest::keyClick(dialog.GetDlgItem(IDOK), Qt::Key_F1);
  using Call = std::pair<HelpCommand, unsigned long>;
  EXPECT_EQ(help.calls, (std::vector<Call>{{HELP_CONTEXTPOPUP, 0x10001}, {HELP_CONTEXT, 0x20000 + 500}}));
  dialog.hide();
}

TEST(HelpFile, ParsesContentsTopicsAndPopups) {
  CHelpFile file;
  file.Parse(
      "# comment\n@contents Help\nIntro.\n\n@topic 2 More Info\nFirst.\r\n\r\nSecond.\n"
      "@popup 0x10426\n  Closes.  \n@popup 65537\nOK.\n@unknown 3\nIgnored.\n@topic x Bad\n");
  EXPECT_EQ(file.Contents().title, "Help");
  ASSERT_NE(file.FindTopic(2), nullptr);
  EXPECT_EQ(file.FindTopic(2)->title, "More Info");
  EXPECT_EQ(file.FindTopic(2)->text, "First.\n\nSecond.\n");
  ASSERT_NE(file.FindPopup(0x10426), nullptr);
  EXPECT_EQ(*file.FindPopup(0x10426), "Closes.");
  ASSERT_NE(file.FindPopup(0x10001), nullptr);
  EXPECT_EQ(file.Topics().size(), 1u);
  EXPECT_EQ(file.Popups().size(), 2u);
  EXPECT_EQ(file.FindTopic(3), nullptr);
}

TEST(HelpFile, AMissingFileIsReportedByName) {
  TempDir dir;
  SetHelpFilePath(dir.file("Lumen.hlp"));
  QString shown;
  OnNextModal([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) shown = box->text();
    w->close();
  });
  EXPECT_FALSE(AfxWinHelp(2, HELP_CONTEXT));
  EXPECT_TRUE(shown.contains(QString::fromStdString(dir.file("Lumen.hlp")))) << shown.toStdString();
  SetHelpFilePath({});
}

TEST(Placement, RoundTripsTheNormalRectangle) {
  QWidget w;
  w.setFixedSize(200, 100);
  WINDOWPLACEMENT p;
  p.showCmd = SW_SHOWNORMAL;
  p.left = 30, p.top = 40, p.right = 230, p.bottom = 140;
  ASSERT_TRUE(SetWindowPlacement(&w, p));
  WINDOWPLACEMENT back;
  ASSERT_TRUE(GetWindowPlacement(&w, &back));
  EXPECT_EQ(back.showCmd, unsigned(SW_SHOWNORMAL));
  EXPECT_EQ(std::vector<int>({back.left, back.top, back.right, back.bottom}),
            std::vector<int>({30, 40, 230, 140}));
  p.right = p.left;  // an empty rectangle is refused
  EXPECT_FALSE(SetWindowPlacement(&w, p));
}

TEST(HelpFile, ViewerShowsTopicsAndQuitClosesIt) {
  TempDir dir;
  WriteFileBytes(dir.file("Lumen.hlp"),
                 "@contents Help\nIntro.\n@topic 2 More Info\nMore.\n@popup 0x10001\nOK.\n");
  SetHelpFilePath(dir.file("Lumen.hlp"));
  EXPECT_TRUE(AfxWinHelp(0x10001, HELP_CONTEXTPOPUP));
  EXPECT_FALSE(AfxWinHelp(0x10002, HELP_CONTEXTPOPUP));  // shown as "no help topic"
  QWhatsThis::hideText();
  ASSERT_TRUE(AfxWinHelp(2, HELP_CONTEXT));
  QWidget* viewer = QApplication::activeWindow();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == "More Info") viewer = w;
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->windowTitle(), "More Info");
  ASSERT_TRUE(AfxWinHelp(0, HELP_FINDER));
  EXPECT_EQ(viewer->windowTitle(), "Help");
  // The links: contents to a topic and back.
  auto* browser = viewer->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  ASSERT_TRUE(browser->toHtml().contains("topic:2"));
  emit browser->anchorClicked(QUrl("topic:2"));
  EXPECT_EQ(viewer->windowTitle(), "More Info");
  const QRegularExpression contentsLink(QStringLiteral("href=\"([^\"]*)\"[^>]*>(<[^>]*>)*Contents<"));
  const QRegularExpressionMatch link = contentsLink.match(browser->toHtml());
  ASSERT_TRUE(link.hasMatch()) << browser->toHtml().toStdString();
  emit browser->anchorClicked(QUrl(link.captured(1)));
  EXPECT_EQ(viewer->windowTitle(), "Help");
  QPointer<QWidget> guard = viewer;
  AfxWinHelp(0, HELP_QUIT);
  EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 2000));
  SetHelpFilePath({});
}

TEST(EditText, ReadsBackWhatWasTypedWithCrLfBreaks) {
  CEdit edit;
  edit.show();
  QTest::keyClicks(&edit, "a");
  QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(QChar(0x00A0)), {});
  QTest::keyClicks(&edit, "b");
  QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);  // a line break within the paragraph
  QTest::keyClicks(&edit, "c");
  QTest::keyClick(&edit, Qt::Key_Return);
  QTest::keyClicks(&edit, "d");
  EXPECT_EQ(edit.GetWindowText(), "a\xC2\xA0" "b\r\nc\r\nd");
  EXPECT_EQ(edit.GetWindowTextLength(), 7);
}
