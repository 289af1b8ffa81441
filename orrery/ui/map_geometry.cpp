#include "orrery/ui/map_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Offsets and the numerators of the slopes (degrees per picture height).
constexpr float kOffsets[4] = {88.0f, 105.0f, 109.0f, 106.0f};
constexpr double kSlopes[4] = {-96.0, -164.0, -172.0, -168.0};

// Truncation toward zero; a value that is no number, or far off any
// picture, is held to a range an int takes.
int Truncate(float v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1.0e6f, 1.0e6f));
}

}  // namespace

MapGeometry MakeMapGeometry(int pictureWidth, int pictureHeight) {
  MapGeometry g;
  g.copyWidth = pictureWidth / 2;
  g.height = pictureHeight;
  g.westEdge = -170.0f;
  g.degreesPerColumn = static_cast<float>(720.0 / pictureWidth);
  for (int band = 0; band < 4; ++band) {
    g.offset[band] = kOffsets[band];
    g.slope[band] = static_cast<float>((1.0 / pictureHeight) * kSlopes[band]);
  }
  return g;
}

int LatitudeBand(float latitude) {
  if (latitude >= 64.0f) return 0;
  if (latitude >= 23.0f) return 1;
  if (latitude >= -20.0f) return 2;
  return 3;
}

int RowBand(const MapGeometry& g, int y) {
  if (y < g.height / 4) return 0;
  if (y < g.height / 2) return 1;
  if (y >= 3 * g.height / 4) return 3;
  return 2;
}

MapPixel PositionToPixel(const MapGeometry& g, float latitude, float longitude) {
  const int band = LatitudeBand(latitude);
  MapPixel p;
  p.y = Truncate((latitude - g.offset[band]) / g.slope[band]);
  p.x = Truncate((longitude - g.westEdge) / g.degreesPerColumn);
  return p;
}

void PixelToPosition(const MapGeometry& g, int x, int y, float& latitude, float& longitude) {
  if (x >= g.copyWidth) x -= g.copyWidth;
  const int band = RowBand(g, y);
  latitude = static_cast<float>(y) * g.slope[band] + g.offset[band];
  longitude = g.westEdge + static_cast<float>(x) * g.degreesPerColumn;
  if (longitude >= 180.0f) longitude -= 360.0f;
}
