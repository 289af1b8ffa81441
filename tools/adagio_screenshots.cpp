// Takes the pictures of Adagio for docs/: its window after generating a
// sample source, and the About box, with a temporary registry and working
// folder. Run under Xvfb (tools/take-adagio-screenshots).
#include "adagio/app/generator_app.h"
#include "adagio/app/generator_dlg.h"
#include "adagio/quote_source.h"
#include "adagio/res/resource.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void Grab(const QWidget* window, const std::string& path) {
  const QRect r = window->frameGeometry();
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
  if (!shot.save(QString::fromStdString(path))) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

void WriteSample(const std::string& path) {
  const char* quotes[] = {
      "Well begun is half done.", "Slow and steady wins the race.",
      "A journey of a thousand miles begins with a single step."};
  std::ofstream out(path, std::ios::binary);
  out << CQuoteSource::kTitleMarker << "\r\nWords of Wisdom\r\n" << CQuoteSource::kSubtitleMarker
      << "\r\nA quotation for every day of the year,\r\ngathered over many years\r\n";
  CDateTime day(1996, 1, 1, 0, 0, 0);
  for (int i = 0; i < 366; ++i, day = day.AddDays(1))
    out << CQuoteSource::DateMarker(day) << "\r\n" << quotes[i % 3] << "\r\n\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string out = std::filesystem::absolute(argv[1]).string();
  char pattern[] = "/tmp/adagio-shots-XXXXXX";
  const std::string work = mkdtemp(pattern);
  setenv("LUMEN_REGISTRY_DIR", (work + "/registry").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", work.c_str(), 1);
  std::filesystem::current_path(work);
  WriteSample(work + "/Wisdom.txt");

  QApplication qt(argc, argv);
  CGeneratorApp app("Adagio");
  app.SetRegistryKey(IDS_REGISTRY_KEY_ADAGIO);
  app.WriteProfileString("Recent File List", "File1", work + "/Wisdom.txt");
  app.WriteProfileString("Settings", "Editor", "/usr/bin/gedit");
  if (!app.InitInstance()) return 1;
  CGeneratorDlg* dlg = app.GetMainWnd();
  dlg->move(40, 40);
  dlg->OnGenerate();
  QTimer::singleShot(1500, [&] {
    Grab(dlg, out + "/adagio-window.png");
    QTimer::singleShot(0, [&] { dlg->OnCredits(); });
    QTimer::singleShot(1500, [&] {
      if (QWidget* about = QApplication::activeModalWidget()) {
        Grab(about, out + "/adagio-about.png");
        about->close();
      }
      dlg->close();
      QApplication::quit();
    });
  });
  const int code = QApplication::exec();
  app.ExitInstance(code);
  std::filesystem::current_path("/");
  std::filesystem::remove_all(work);
  return code;
}
