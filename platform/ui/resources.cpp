#include "platform/ui/resources.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <cstring>

namespace {

const UiResources* g_resources = nullptr;

struct FaceFallback {
  const char* face;
  const char* families[4];
  QFont::Stretch stretch;
};

const FaceFallback kFallbacks[] = {
    {"MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans", "Sans Serif"},
     QFont::Unstretched},
    {"Arial", {"Arial", "Liberation Sans", "DejaVu Sans", "Sans Serif"}, QFont::Unstretched},
    {"Playbill", {"Playbill", "DejaVu Serif Condensed", "DejaVu Serif", "Serif"},
     QFont::Condensed},
};

}  // namespace

void SetUiResources(const UiResources* resources) { g_resources = resources; }

const DialogTemplate* FindDialogTemplate(unsigned id) {
  if (!g_resources) return nullptr;
  for (size_t i = 0; i < g_resources->dialogCount; ++i)
    if (g_resources->dialogs[i].id == id) return &g_resources->dialogs[i];
  return nullptr;
}

const MenuTemplate* FindMenuTemplate(unsigned id) {
  if (!g_resources) return nullptr;
  for (size_t i = 0; i < g_resources->menuCount; ++i)
    if (g_resources->menus[i].id == id) return &g_resources->menus[i];
  return nullptr;
}

QPixmap LoadBitmap(unsigned id) {
  if (!g_resources || !g_resources->bitmapPath) return {};
  return QPixmap(QString::fromLatin1(g_resources->bitmapPath).arg(id));
}

QPixmap LoadBitmap(unsigned id, int scale) {
  if (!g_resources || !g_resources->bitmapPath) return {};
  return QPixmap(QString::fromLatin1(g_resources->bitmapPath).arg(QStringLiteral("%1_%2x").arg(id).arg(scale)));
}

QIcon LoadIcon(unsigned id) {
  if (!g_resources || !g_resources->iconPath) return {};
  return QIcon(QString::fromLatin1(g_resources->iconPath).arg(id));
}

QFont MakeFaceFont(const char* face, int pointSize, int pixelHeight, int weight) {
  QFont font;
  const QStringList installed = QFontDatabase::families();
  QString family = QString::fromLatin1(face ? face : "");
  QFont::Stretch stretch = QFont::Unstretched;
  if (!installed.contains(family, Qt::CaseInsensitive)) {
    for (const FaceFallback& f : kFallbacks) {
      if (!face || std::strcmp(f.face, face) != 0) continue;
      for (const char* candidate : f.families) {
        if (installed.contains(QString::fromLatin1(candidate), Qt::CaseInsensitive)) {
          family = QString::fromLatin1(candidate);
          stretch = f.stretch;
          break;
        }
      }
      break;
    }
  }
  if (!family.isEmpty()) font.setFamilies({family});
  if (stretch != QFont::Unstretched && !family.contains(QLatin1String("Condensed")))
    font.setStretch(stretch);
  if (pixelHeight > 0)
    font.setPixelSize(pixelHeight);
  else if (pointSize > 0)
    font.setPointSize(pointSize);
  font.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
  return font;
}

QFont MakeCellFont(const char* face, int cellHeight, int weight) {
  int pixels = cellHeight > 1 ? cellHeight : 1;
  QFont font = MakeFaceFont(face, 0, pixels, weight);
  while (pixels > 1 && QFontMetrics(font).height() > cellHeight) {
    --pixels;
    font.setPixelSize(pixels);
  }
  return font;
}

QSize DialogBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return QSize((width / 26 + 1) / 2, metrics.height());
}

QRect DialogUnitsToPixels(const QSize& base, int x, int y, int cx, int cy) {
  auto h = [&](int v) { return (v * base.width() + 2) / 4; };
  auto v = [&](int u) { return (u * base.height() + 4) / 8; };
  return QRect(h(x), v(y), h(cx), v(cy));
}
