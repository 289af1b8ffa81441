// Adagio's window: its states, New, Edit, Generate, Credits, the editor and
// help.
#include "adagio/quote_source.h"
#include "adagio/res/resource.h"
#include "adagio/res/strings.h"
#include "adagio/res/ui_ids.h"
#include "platform/file.h"
#include "platform/ui/text.h"
#include "tests/adagio_ui/generator_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QAbstractItemView>
#include <QApplication>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTest>

#include <filesystem>

namespace {

QString Text(unsigned id) { return ToQ(AdagioString(id)); }

// Answers the next file dialog with path (nullopt: cancels it), after
// checking its title; *filters receives its name filters.
void ChooseInFileDialog(std::optional<std::string> path, const char* title,
                        QStringList* filters = nullptr) {
  OnNextModal([=](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QString::fromLatin1(title));
    if (filters) *filters = dialog->nameFilters();
    if (!path) {
      dialog->reject();
      return;
    }
    // Typed, as a user would: the typed name replaces the preselected one.
    for (auto* view : dialog->findChildren<QAbstractItemView*>()) view->clearSelection();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(ToQ(*path));
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

// Answers the next message box with button after reading its text.
void AnswerMessageBox(QString* text, QMessageBox::StandardButton button = QMessageBox::Ok) {
  OnNextModal([=](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    *text = box->text();
    box->button(button)->click();
  });
}

}  // namespace

TEST_F(GeneratorTest, FirstStartWithAnEmptyRegistryAsksForASource) {
  CGeneratorDlg& dlg = Start();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.windowTitle(), "Lumen Quote File Generator");
  EXPECT_TRUE(NameBoxItems().isEmpty());
  EXPECT_FALSE(Enabled(IDC_EDIT));
  EXPECT_FALSE(Enabled(IDC_GENERATE));
  EXPECT_TRUE(Enabled(IDC_NEW));
  EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), Text(IDS_SELECT_SOURCE));

  QString shown;
  AnswerMessageBox(&shown);
  dlg.OnEdit();
  EXPECT_EQ(shown, Text(IDS_SELECT_SOURCE));
  EXPECT_TRUE(started.empty());
  dlg.OnGenerate();
  EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), Text(IDS_SELECT_SOURCE));
}

TEST_F(GeneratorTest, StatesFollowTheSelectedSource) {
  const std::string held = work.file("held.txt"), noMarker = work.file("plain.txt"),
                    valid = work.file("valid.txt"), missing = work.file("gone.txt");
  WriteFileBytes(held, SourceText("T", "S"));
  WriteFileBytes(noMarker, "Just some notes\r\n" + SourceText("T", "S"));
  WriteFileBytes(valid, SourceText("", ""));
  CFile editor;  // another program holds it open
  ASSERT_TRUE(editor.Open(held, CFile::modeRead | CFile::shareDenyNone));
  SetRecentFiles({valid, held, noMarker, missing});
  CGeneratorDlg& dlg = Start();
  EXPECT_EQ(NameBoxItems(), QStringList({"valid.txt", "held.txt", "plain.txt", "gone.txt"}));

  struct Case {
    int item;
    unsigned message;
    bool generate;
  } cases[] = {
      {0, IDS_SOURCE_READY, true},          // the most recent one, at start-up
      {1, IDS_SOURCE_INACCESSIBLE, false},  // held open elsewhere
      {2, IDS_NO_TITLES, false},            // the first marker is not first
      {3, IDS_SOURCE_INACCESSIBLE, false},  // no longer there
      {0, IDS_SOURCE_READY, true},
  };
  for (const Case& c : cases) {
    if (c.item != dlg.GetNameBox()->currentIndex()) {
      dlg.GetNameBox()->setCurrentIndex(c.item);
      emit dlg.GetNameBox()->activated(c.item);
    }
    EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), Text(c.message)) << "item " << c.item;
    EXPECT_EQ(Enabled(IDC_GENERATE), c.generate) << "item " << c.item;
    EXPECT_TRUE(Enabled(IDC_EDIT));
  }
}

TEST_F(GeneratorTest, EmptyPlacesInTheListAreSkippedWithoutShiftingTheSelection) {
  const std::string second = work.file("second.txt"), fourth = work.file("fourth.txt");
  WriteFileBytes(second, SourceText("Second", ""));
  WriteFileBytes(fourth, SourceText("Fourth", ""));
  SetRecentFiles({"", second, "", fourth});
  CGeneratorDlg& dlg = Start();
  EXPECT_EQ(NameBoxItems(), QStringList({"second.txt", "fourth.txt"}));
  EXPECT_EQ(app.GetSelectedSource(), second);
  dlg.GetNameBox()->setCurrentIndex(1);
  EXPECT_EQ(app.GetSelectedSource(), fourth);
}

TEST_F(GeneratorTest, NewWithAMissingNameCreatesTheEmptySourceAtTheTop) {
  const std::string old = work.file("old.txt");
  WriteFileBytes(old, SourceText("Old", ""));
  SetRecentFiles({old});
  CGeneratorDlg& dlg = Start();

  QStringList filters;
  QString question;
  ChooseInFileDialog(work.file("Wisdom"), CGeneratorDlg::kNewTitle, &filters);
  OnNextModal([&](QWidget* w) {  // the create prompt comes after the dialog
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    question = box->text();
    box->button(QMessageBox::Yes)->click();
  }, 6000);
  dlg.OnNew();

  const std::string created = work.file("Wisdom.txt");  // the default extension
  EXPECT_EQ(filters, QStringList({"Quotation Source (*.txt)", "All files (*)"}));
  EXPECT_TRUE(question.startsWith(ToQ(created)));
  ASSERT_TRUE(FileExists(created));
  EXPECT_EQ(ReadFileBytes(created).substr(0, 25), "{*** SHORT TITLE ***}\r\n\r\n");
  EXPECT_EQ(NameBoxItems(), QStringList({"Wisdom.txt", "old.txt"}));
  EXPECT_EQ(app.GetSelectedSource(), created);
  EXPECT_EQ(ProfileString("Recent File List", "File1"), created);
  EXPECT_EQ(ProfileString("Recent File List", "File2"), old);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), Text(IDS_SOURCE_READY));
  EXPECT_TRUE(Enabled(IDC_GENERATE));
}

TEST_F(GeneratorTest, NewThatIsDeclinedOrCancelledOrFailsLeavesTheListAlone) {
  const std::string old = work.file("old.txt"), held = work.file("held.txt");
  WriteFileBytes(old, SourceText("Old", ""));
  WriteFileBytes(held, SourceText("Held", ""));
  CFile editor;
  ASSERT_TRUE(editor.Open(held, CFile::modeRead | CFile::shareDenyNone));
  SetRecentFiles({old});
  CGeneratorDlg& dlg = Start();

  // "No" to creating the file goes back to the dialog; then Cancel.
  ChooseInFileDialog(work.file("new.txt"), CGeneratorDlg::kNewTitle);
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    ChooseInFileDialog(std::nullopt, CGeneratorDlg::kNewTitle);
    box->button(QMessageBox::No)->click();
  }, 6000);
  dlg.OnNew();
  EXPECT_FALSE(FileExists(work.file("new.txt")));

  ChooseInFileDialog(held, CGeneratorDlg::kNewTitle);
  dlg.OnNew();
  EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), Text(IDS_SOURCE_INACCESSIBLE));
  EXPECT_EQ(NameBoxItems(), QStringList({"old.txt"}));
  EXPECT_EQ(ProfileString("Recent File List", "File1"), old);
  EXPECT_EQ(ProfileString("Recent File List", "File2"), "<none>");
}

TEST_F(GeneratorTest, AFifthSourcePushesTheOldestOut) {
  std::vector<std::string> four;
  for (const char* name : {"d.txt", "c.txt", "b.txt", "a.txt"}) {
    four.push_back(work.file(name));
    WriteFileBytes(four.back(), SourceText(name, ""));
  }
  SetRecentFiles(four);
  CGeneratorDlg& dlg = Start();
  std::filesystem::create_directory(work.file("other"));
  const std::string fifth = work.file("other/e.txt");
  WriteFileBytes(fifth, SourceText("e", ""));

  ChooseInFileDialog(fifth, CGeneratorDlg::kNewTitle);
  dlg.OnNew();
  EXPECT_EQ(NameBoxItems(), QStringList({"/.../other/e.txt", "d.txt", "c.txt", "b.txt"}));
  EXPECT_EQ(ProfileString("Recent File List", "File1"), fifth);
  EXPECT_EQ(ProfileString("Recent File List", "File4"), four[2]);
  EXPECT_EQ(ProfileString("Recent File List", "File5"), "<none>");
}

TEST_F(GeneratorTest, EditStartsTheChosenEditorOrTheDesktopsProgram) {
  const std::string source = work.file("my \"best\" quotes.txt"), other = work.file("other.txt");
  WriteFileBytes(source, SourceText("T", "S"));
  WriteFileBytes(other, SourceText("T", "S"));
  SetRecentFiles({other, source});
  CGeneratorDlg& dlg = Start();
  dlg.GetNameBox()->setCurrentIndex(1);

  dlg.OnEdit();  // no editor chosen: the file itself
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], std::make_pair(source, std::string()));
  EXPECT_EQ(NameBoxItems().first(), "my \"best\" quotes.txt");  // used: now the most recent
  EXPECT_EQ(app.GetSelectedSource(), source);

  app.WriteProfileString("Settings", "Editor", "/usr/bin/gedit");
  app.ExitInstance();
  CGeneratorDlg& again = Start();
  again.OnEdit();
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1].first, "/usr/bin/gedit");
  // The quoted path is one parameter, whatever it holds.
  EXPECT_EQ(QProcess::splitCommand(ToQ(started[1].second)), QStringList({ToQ(source)}));

  startSucceeds = false;
  QString shown;
  AnswerMessageBox(&shown);
  again.OnEdit();
  EXPECT_EQ(shown, Text(IDS_CANNOT_START_EDITOR));
}

TEST_F(GeneratorTest, GenerateShowsTheResultInTheStatusBox) {
  const std::string source = work.file("Wisdom.txt");
  WriteFileBytes(source, SourceText("Wisdom", "Of the ages"));
  SetRecentFiles({source});
  CGeneratorDlg& dlg = Start();
  dlg.OnGenerate();
  EXPECT_EQ(dlg.GetStatusText(), "The quote file has been generated:\r\n" + work.file("Wisdom.day"));
  EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), FromCrLf(dlg.GetStatusText()));
  EXPECT_TRUE(FileExists(work.file("Wisdom.day")));

  CFile orrery;  // the quotation file in use elsewhere
  ASSERT_TRUE(orrery.Open(work.file("Wisdom.day"), CFile::modeRead | CFile::shareDenyNone));
  dlg.OnGenerate();
  EXPECT_EQ(dlg.GetStatusText(), AdagioString(IDS_QUOTE_FILE_INACCESSIBLE));
}

TEST_F(GeneratorTest, ChosenEditorIsKeptAtOnceAndNamedInTheAboutBox) {
  const std::string source = work.file("Wisdom.txt");
  WriteFileBytes(source, SourceText("Wisdom", "Of the ages\r\nand more"));
  SetRecentFiles({source});
  const std::string editor = work.file("my-editor");
  WriteFileBytes(editor, "#!/bin/sh\n");
  std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
  CGeneratorDlg& dlg = Start();

  auto credits = [&] {
    std::map<int, QString> labels;
    OnNextModal([&](QWidget* w) {
      auto* about = dynamic_cast<CDialog*>(w);
      ASSERT_NE(about, nullptr);
      EXPECT_EQ(about->windowTitle(), "About Lumen Quote Generator");
      for (int id : {IDC_ABOUT_TITLE, IDC_ABOUT_SUBTITLE, IDC_ABOUT_EDITOR})
        labels[id] = about->GetDlgItemText(id);
      about->EndDialog(IDOK);
    });
    dlg.OnCredits();
    return labels;
  };
  auto labels = credits();
  EXPECT_EQ(labels[IDC_ABOUT_TITLE], "Wisdom");
  EXPECT_EQ(labels[IDC_ABOUT_SUBTITLE], "Of the ages\nand more");
  EXPECT_EQ(labels[IDC_ABOUT_EDITOR], "Default - probably NotePad");

  QStringList filters;
  ChooseInFileDialog(editor, CGeneratorDlg::kEditorTitle, &filters);
  dlg.OnSysCommand(IDM_CHOOSE_EDITOR);
  EXPECT_EQ(filters, QStringList({"Program Files (*)"}));
  EXPECT_EQ(ProfileString("Settings", "Editor"), editor);
  EXPECT_EQ(credits()[IDC_ABOUT_EDITOR], "my-editor");

  ChooseInFileDialog(std::nullopt, CGeneratorDlg::kEditorTitle);
  dlg.OnSysCommand(IDM_CHOOSE_EDITOR);
  EXPECT_EQ(ProfileString("Settings", "Editor"), editor);

  // No source selected: no titles.
  dlg.GetNameBox()->setCurrentIndex(-1);
  labels = credits();
  EXPECT_EQ(labels[IDC_ABOUT_TITLE], "");
  EXPECT_EQ(labels[IDC_ABOUT_SUBTITLE], "");
}

TEST(GeneratorDlg, EditorDisplayNameIsWhatFollowsTheLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "Default - probably NotePad"},
      {"/usr/bin/gedit", "gedit"},
      {"/gedit", "/gedit"},
      {"gedit", "gedit"},
      {"/opt/My Editor/bin/edit", "edit"},
  };
  for (const auto& [path, shown] : cases) EXPECT_EQ(CGeneratorDlg::EditorDisplayName(path), shown) << path;
}

TEST_F(GeneratorTest, WindowMenuCarriesTheEditorAndAboutItems) {
  CGeneratorDlg& dlg = Start();
  CMenu* menu = dlg.GetSystemMenu();
  const int n = menu->GetMenuItemCount();
  ASSERT_GE(n, 3);
  EXPECT_EQ(menu->GetMenuItemID(n - 3), 0x20u);
  EXPECT_EQ(menu->GetMenuString(n - 3), "Choose your &word processor...");
  EXPECT_EQ(menu->GetMenuItemID(n - 2), 0u);
  EXPECT_EQ(menu->GetMenuItemID(n - 1), 0x10u);
  EXPECT_EQ(menu->GetMenuString(n - 1), "&About Quote Generator");

  // Opened from the icon button, Alt+Space or a right click.
  dlg.ShowSystemMenu();
  EXPECT_EQ(QApplication::activePopupWidget(), menu->GetQMenu());
  menu->GetQMenu()->close();

  bool opened = false;
  OnNextModal([&](QWidget* w) {
    opened = w->windowTitle() == "About Lumen Quote Generator";
    static_cast<QDialog*>(w)->reject();
  });
  dlg.OnSysCommand(0x10);
  EXPECT_TRUE(opened);
}

TEST_F(GeneratorTest, HelpOpensTheWindowsTopicAndClosingQuitsHelp) {
  CGeneratorDlg& dlg = Start();
  qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_HELP))->click();
  ASSERT_EQ(helpCalls.size(), 1u);
  EXPECT_EQ(helpCalls[0], std::make_pair(HELP_CONTEXT, static_cast<unsigned long>(IDD_GENERATOR)));

  SetHelpMode(true);  // a control picked with "?"
  dlg.OnHelpInfo(IDC_GENERATE);
  SetHelpMode(false);
  ASSERT_EQ(helpCalls.size(), 2u);
  EXPECT_EQ(helpCalls[1], std::make_pair(HELP_CONTEXTPOPUP, 0x10000ul + IDC_GENERATE));

  qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_EXIT))->click();
  EXPECT_FALSE(dlg.isVisible());
  ASSERT_EQ(helpCalls.size(), 3u);
  EXPECT_EQ(helpCalls[2].first, HELP_QUIT);
}
