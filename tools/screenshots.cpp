// Takes the pictures of the README: Orrery's main window on the Report page
// and the Notes For The Day dialog, with a demonstration profile in a
// temporary registry and notes folder. Run under Xvfb (tools/take-screenshots).
#include "orrery/main/scd_app.h"
#include "orrery/notes/note_store.h"
#include "orrery/report/report_doc.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/ui/placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void Grab(const QWidget* window, const std::string& path) {
  const QRect r = window->frameGeometry();
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
  if (!shot.save(QString::fromStdString(path))) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string out = argv[1];
  char pattern[] = "/tmp/lumen-shots-XXXXXX";
  const std::string work = mkdtemp(pattern);
  setenv("LUMEN_REGISTRY_DIR", (work + "/registry").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (work + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (work + "/data").c_str(), 1);

  CScdApp app("Orrery");
  app.WriteProfileString("Schedule", "Path", work + "/");
  app.WriteProfileString("Options", "Name", "Robin");
  {
    CNoteStore notes;
    notes.SetDatedText("Dentist at 10:30\r\nCall the garage about the winter tyres");
    notes.SetAnnualText("Grandma's birthday - ring her before lunch");
    notes.SetRemind(1);
  }

  QApplication qt(argc, argv);
  if (!app.InitWindows(CDateTime::GetCurrentTime(), SW_SHOWNORMAL)) return 1;
  CScdSheet* sheet = app.GetMainWnd();
  sheet->move(40, 40);
  // With --all, also the Info page and the About box.
  const bool all = argc > 2 && std::string(argv[2]) == "--all";
  QTimer::singleShot(1500, [&] {
    Grab(sheet, out + "/orrery-report.png");
    QTimer::singleShot(0, [&] { sheet->GetReportPage().OnEditNotes(); });
    QTimer::singleShot(1500, [&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        Grab(dialog, out + "/orrery-notes.png");
        dialog->close();
      }
      if (!all) {
        sheet->DestroyWindow();
        return;
      }
      sheet->SetActivePage(4);
      QTimer::singleShot(500, [&] {
        Grab(sheet, out + "/orrery-info.png");
        QTimer::singleShot(0, [&] { sheet->ShowAbout(); });
        QTimer::singleShot(1000, [&] {
          if (QWidget* about = QApplication::activeModalWidget()) {
            Grab(about, out + "/orrery-about.png");
            about->close();
          }
          sheet->DestroyWindow();
        });
      });
    });
  });
  const int code = QApplication::exec();
  app.ExitInstance(code);
  std::filesystem::remove_all(work);
  return code;
}
