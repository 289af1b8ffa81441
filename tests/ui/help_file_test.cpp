// The help file shipped beside Orrery: its contents, topic 2, a topic for
// every window and a popup for every control of every page and dialog.
#include "orrery/res/ui_ids.h"
#include "orrery/res/ui_resources.h"
#include "platform/ui/help.h"

#include <gtest/gtest.h>

TEST(OrreryHelpFile, HasContentsTopicsAndAPopupForEveryControl) {
  CHelpFile file;
  QString error;
  ASSERT_TRUE(file.Load(LUMEN_HELP_FILE, &error)) << error.toStdString();
  EXPECT_FALSE(file.Contents().text.trimmed().isEmpty());
  ASSERT_NE(file.FindTopic(2), nullptr);
  const UiResources& res = OrreryUiResources();
  for (size_t d = 0; d < res.dialogCount; ++d) {
    const DialogTemplate& dialog = res.dialogs[d];
    EXPECT_NE(file.FindTopic(dialog.id), nullptr) << "topic " << dialog.id;
    for (size_t c = 0; c < dialog.count; ++c) {
      const int id = dialog.controls[c].id;
      if (id < 0) continue;
      const QString* popup = file.FindPopup(0x10000 + static_cast<unsigned long>(id));
      EXPECT_TRUE(popup && !popup->isEmpty()) << "dialog " << dialog.id << " control " << id;
    }
  }
  EXPECT_NE(file.FindPopup(0x10000 + IDC_DATE_LINE), nullptr);
  EXPECT_NE(file.FindPopup(0x10000), nullptr);  // controls without an identifier
}
