// The main window: system menu, date line, popup menu, placement, About box
// and the Info page.
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/about_dlg.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/ui/placement.h"
#include "tests/ui/orrery_fixture.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QMessageBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <climits>

namespace {

class SheetTest : public OrreryTest {
protected:
  SheetTest() : sheet(new CScdSheet) {}
  ~SheetTest() override { delete sheet.data(); }
  QPointer<CScdSheet> sheet;
};

std::vector<std::pair<unsigned, QString>> Items(CMenu& menu) {
  std::vector<std::pair<unsigned, QString>> items;
  for (int i = 0; i < menu.GetMenuItemCount(); ++i)
    items.emplace_back(menu.GetMenuItemID(i), menu.GetMenuItemID(i) ? menu.GetMenuString(i) : "");
  return items;
}

}  // namespace

TEST_F(SheetTest, IsCreatedHiddenWithFiveTabsAndWaitOnTheDateLine) {
  ASSERT_TRUE(sheet->IsCreated());
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_EQ(sheet->windowTitle(), "Lumen Almanac");
  QStringList tabs;
  for (int i = 0; i < sheet->GetTabControl()->count(); ++i) tabs << sheet->GetTabControl()->tabText(i);
  EXPECT_EQ(tabs, QStringList({"Report", "Dates", "Places", "Options", "Info"}));
  EXPECT_EQ(sheet->GetDateLine(), "Wait...");
  EXPECT_EQ(sheet->GetDateLineControl()->geometry().top(), 5);
  EXPECT_EQ(sheet->GetDateLineControl()->geometry().bottom(), 37);
  EXPECT_GE(sheet->GetTabControl()->y(), 40);
  EXPECT_TRUE(sheet->HasContextHelpButton());
  EXPECT_EQ(sheet->minimumSize(), sheet->maximumSize());
}

TEST_F(SheetTest, SystemMenuHasNoSizeOrMaximizeAndTheAddedItemsInPlace) {
  const std::vector<std::pair<unsigned, QString>> expected = {
      {SC_RESTORE, "&Restore"},
      {SC_MOVE, "&Move"},
      {SC_MINIMIZE, "Mi&nimize"},
      {0, ""},
      {IDM_PERSONAL_DIRECTORY, "&Set Personal Directory..."},
      {SC_CLOSE, "&Close\tAlt+F4"},
      {0, ""},
      {IDM_ABOUTBOX, "&About Lumen Almanac"},
  };
  EXPECT_EQ(Items(*sheet->GetSystemMenu()), expected);

  sheet->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
  QTest::mouseClick(sheet->GetSystemMenuButton(), Qt::LeftButton);
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup, sheet->GetSystemMenu()->GetQMenu());
  popup->close();
}

TEST_F(SheetTest, DateLineIsSetOnlyWhenTheTextDiffers) {
  EXPECT_FALSE(sheet->SetDateLine("Wait..."));
  EXPECT_TRUE(sheet->SetDateLine("Friday, 14 February 2025 09:30 AM"));
  EXPECT_FALSE(sheet->SetDateLine("Friday, 14 February 2025 09:30 AM"));
  EXPECT_TRUE(sheet->SetDateLine("Friday, 14 February 2025 09:31 AM"));
  EXPECT_EQ(sheet->GetDateLine(), "Friday, 14 February 2025 09:31 AM");

  sheet->show();
  sheet->showMinimized();
  ASSERT_TRUE(sheet->isMinimized());
  sheet->OnTimer(1);  // minimized: left alone
  EXPECT_EQ(sheet->GetDateLine(), "Friday, 14 February 2025 09:31 AM");
  sheet->showNormal();
  sheet->OnTimer(1);  // shown again: the current time
  EXPECT_NE(sheet->GetDateLine(), "Friday, 14 February 2025 09:31 AM");
}

TEST_F(SheetTest, AWindowClosedMinimizedOpensMinimizedWithItsNormalRectangle) {
  sheet->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
  const QRect normal(QPoint(80, 90), sheet->size());
  sheet->setGeometry(normal);
  sheet->showMinimized();
  sheet->DestroyWindow();
  EXPECT_EQ(app.GetProfileInt("WindowPos", "Cmd", -1), int(SW_SHOWMINIMIZED));
  EXPECT_EQ(app.GetProfileInt("WindowPos", "left", -1), 80);

  CScdSheet next;
  ASSERT_TRUE(next.RestorePosition());
  EXPECT_TRUE(next.isMinimized());
  next.showNormal();
  EXPECT_EQ(next.geometry(), normal);
}

TEST_F(SheetTest, RightClickShowsPopupMenu128) {
  sheet->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
  sheet->OnContextMenu(sheet, sheet->mapToGlobal(QPoint(10, 10)));
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(popup, nullptr);
  QStringList texts;
  for (QAction* a : popup->actions()) texts << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(texts, QStringList({"&What's This?", "-", "&About Lumen Almanac"}));
  popup->close();
}

TEST_F(SheetTest, RestorePositionRefusesMissingChangedOrOffScreenPlacements) {
  WINDOWPLACEMENT now;
  ASSERT_TRUE(GetWindowPlacement(sheet, &now));
  const int w = now.right - now.left, h = now.bottom - now.top;
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    const char* what;
    int flags, cmd, left, top, right, bottom;
    bool restored;
  } cases[] = {
      {"nothing saved", -1, -1, -1, -1, -1, -1, false},
      {"left at -1", 0, 1, -1, 10, w - 1, 10 + h, false},
      {"wider", 0, 1, 10, 10, 10 + w + 1, 10 + h, false},
      {"lower", 0, 1, 10, 10, 10 + w, 10 + h - 1, false},
      {"right of the screen", 0, 1, cx - 32, 10, cx - 32 + w, 10 + h, false},
      {"below the screen", 0, 1, 10, cy - 32, 10 + w, cy - 32 + h, false},
      {"left of the screen", 0, 1, -w + 32, 10, 32, 10 + h, false},
      {"beyond 32 bits wide", 0, 1, INT_MIN + 1, 10, INT_MAX, 10 + h, false},
      {"on the screen", 0, 1, 20, 30, 20 + w, 30 + h, true},
      {"saved hidden, shown normally", 0, 0, 20, 30, 20 + w, 30 + h, true},
  };
  for (const Case& c : cases) {
    if (c.flags != -1) {
      const int values[] = {c.flags, c.cmd, c.left, c.top, c.right, c.bottom};
      const char* names[] = {"flags", "Cmd", "left", "top", "right", "bottom"};
      for (int i = 0; i < 6; ++i) app.WriteProfileInt("WindowPos", names[i], values[i]);
    }
    EXPECT_EQ(sheet->RestorePosition(), c.restored) << c.what;
  }
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_EQ(sheet->geometry().topLeft(), QPoint(20, 30));

  sheet->setGeometry(QRect(QPoint(40, 50), sheet->size()));
  ASSERT_TRUE(sheet->SavePosition());
  EXPECT_EQ(app.GetProfileInt("WindowPos", "left", -1), 40);
  EXPECT_EQ(app.GetProfileInt("WindowPos", "bottom", -1), 50 + h);
  EXPECT_EQ(app.GetProfileInt("WindowPos", "Cmd", -1), 1);
}

TEST_F(SheetTest, ClosingSavesThePositionAndDeletesTheWindow) {
  sheet->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
  sheet->setGeometry(QRect(QPoint(60, 70), sheet->size()));
  sheet->DestroyWindow();
  EXPECT_TRUE(QTest::qWaitFor([&] { return sheet.isNull(); }, 2000));
  EXPECT_EQ(app.GetProfileInt("WindowPos", "top", -1), 70);
}

TEST_F(SheetTest, AboutBoxShowsTheQuotationFileAndTheNotesLocation) {
  sheet->SetDocument(&Doc());
  QStringList texts;
  OnNextModal([&](QWidget* w) {
    auto* about = static_cast<CAboutDlg*>(w);
    texts << about->GetDlgItemText(IDC_QUOTE_TITLE) << about->GetDlgItemText(IDC_QUOTE_SUBTITLE)
          << about->GetDlgItemText(IDC_NOTES_LOCATION) << about->windowTitle();
    about->reject();
  });
  sheet->OnSysCommand(IDM_ABOUTBOX);
  EXPECT_EQ(texts, QStringList({"", "You have chosen not to display daily quotations.",
                                QString::fromStdString(notesDir.path() + "/"),
                                "About Lumen Almanac"}));
}

TEST_F(SheetTest, InfoPageShowsItsTextPictureAndOpensTopic2) {
  sheet->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
  sheet->SetActivePage(4);
  CInfoPage& info = sheet->GetInfoPage();
  ASSERT_TRUE(info.IsCreated());
  auto* text = qobject_cast<QPlainTextEdit*>(info.GetDlgItem(IDC_INFO_TEXT));
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->isVisible());
  EXPECT_TRUE(text->font().bold());
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_FALSE(text->toPlainText().isEmpty());
  bool picture = false;
  for (QLabel* label : info.findChildren<QLabel*>())
    picture = picture || label->pixmap().size() == QSize(150, 150);
  EXPECT_TRUE(picture);
  info.SendCommand(IDC_MORE_INFO);
  info.SendCommand(ID_HELP_FINDER);
  using Call = std::pair<HelpCommand, unsigned long>;
  EXPECT_EQ(help.calls, (std::vector<Call>{{HELP_CONTEXT, 2}, {HELP_FINDER, 0}}));
}

TEST_F(OrreryTest, WithoutATimerTheWindowIsRefusedAfterItsMessage) {
  CScdSheet::FailTimerForTesting(true);
  QString text;
  OnNextModal([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) text = box->text();
    w->close();
  });
  EXPECT_FALSE(app.InitWindows(CDateTime::GetCurrentTime(), SW_SHOWNORMAL));
  CScdSheet::FailTimerForTesting(false);
  EXPECT_EQ(text, "Insufficient resources.  Shut down some applications and try again.");
  EXPECT_EQ(app.GetMainWnd(), nullptr);
}

TEST_F(SheetTest, SetPersonalDirectoryMovesTheNotesStore) {
  sheet->SetDocument(&Doc());
  TempDir chosen;
  OnNextModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Select a directory to store your personal notes");
    // The real dialog: typing goes in once its folder has loaded, so that
    // nothing it does on loading replaces the typed name.
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    loaded.wait(1000);
    TypeFileName(dialog, chosen.path());
    QMetaObject::invokeMethod(dialog, "accept");
  });
  sheet->OnSysCommand(IDM_PERSONAL_DIRECTORY);
  EXPECT_EQ(Doc().GetNoteStore()->GetDirectory(), chosen.path() + "/");

  OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  sheet->OnSysCommand(IDM_PERSONAL_DIRECTORY);  // cancelled: nothing changes
  EXPECT_EQ(Doc().GetNoteStore()->GetDirectory(), chosen.path() + "/");
}
