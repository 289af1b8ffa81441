// The shared help file covers Adagio: a topic for each window and a popup
// for every control.
#include "adagio/res/ui_resources.h"
#include "platform/ui/help.h"

#include <gtest/gtest.h>

TEST(AdagioHelpFile, HasATopicForEachWindowAndAPopupForEveryControl) {
  CHelpFile file;
  QString error;
  ASSERT_TRUE(file.Load(LUMEN_HELP_FILE, &error)) << error.toStdString();
  const UiResources& res = AdagioUiResources();
  ASSERT_EQ(res.dialogCount, 2u);
  for (size_t d = 0; d < res.dialogCount; ++d) {
    const DialogTemplate& dialog = res.dialogs[d];
    const HelpTopic* topic = file.FindTopic(dialog.id);
    ASSERT_NE(topic, nullptr) << "topic " << dialog.id;
    EXPECT_EQ(topic->title, QString::fromLatin1(dialog.caption));
    for (size_t c = 0; c < dialog.count; ++c) {
      const int id = dialog.controls[c].id;
      if (id < 0) continue;
      const QString* popup = file.FindPopup(0x10000 + static_cast<unsigned long>(id));
      EXPECT_TRUE(popup && !popup->isEmpty()) << "dialog " << dialog.id << " control " << id;
    }
  }
}
