// One Adagio per user: a second start brings the first window to the front
// and shows none of its own.
#include "platform/ui/single_instance.h"
#include "tests/adagio_ui/generator_fixture.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

namespace {

int GeneratorWindows() {
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<CGeneratorDlg*>(w) && w->isVisible()) ++count;
  return count;
}

}  // namespace

TEST_F(GeneratorTest, SecondStartInThisProcessShowsNoWindow) {
  CGeneratorDlg& first = Start();
  first.showMinimized();
  {
    CGeneratorApp second("Adagio");
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(second.GetMainWnd(), nullptr);
  }
  EXPECT_EQ(GeneratorWindows(), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !first.isMinimized(); }, 3000));
}

TEST_F(GeneratorTest, SecondProgramBringsTheFirstToTheFrontAndEnds) {
  CGeneratorDlg& first = Start();
  first.showMinimized();
  QProcess second;
  second.start(QStringLiteral(ADAGIO_PROGRAM), {});
  ASSERT_TRUE(second.waitForStarted(5000));
  // The first window answers on this event loop, so wait while serving it.
  EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 15000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !first.isMinimized(); }, 3000));
  EXPECT_EQ(GeneratorWindows(), 1);
}

TEST_F(GeneratorTest, ASocketLeftByAnEndedInstanceIsTakenOver) {
  const QString title = QStringLiteral("Lumen Quote File Generator");
  {
    // A plain file where the socket would be: nobody answers there.
    QFile stale(CSingleInstance::SocketPath(title));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  }
  CSingleInstance first(title);
  EXPECT_TRUE(first.Claim());
  EXPECT_TRUE(first.IsListening());
  CSingleInstance second(title);
  EXPECT_FALSE(second.Claim());
}
