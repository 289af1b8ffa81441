// The world map's rule between picture pixels and latitude and longitude:
// columns linear in longitude from the west edge, rows piecewise linear in
// four latitude bands. Plain arithmetic, no windows.
#pragma once

struct MapGeometry {
  float slope[4] = {};   // degrees of latitude per row, one per band
  float offset[4] = {};  // latitude of row 0 on each band's line
  float degreesPerColumn = 0.0f;
  float westEdge = -170.0f;  // longitude of column 0
  int copyWidth = 0;         // width of one copy of the world; the picture holds two
  int height = 0;            // picture height
};

struct MapPixel {
  int x = 0;
  int y = 0;
};

// The rule for a picture of two copies side by side, pictureWidth x
// pictureHeight pixels (both at least 1).
MapGeometry MakeMapGeometry(int pictureWidth, int pictureHeight);

// The band a latitude falls in (0 at the top), and the band of a row.
int LatitudeBand(float latitude);
int RowBand(const MapGeometry& g, int y);

// The pixel of a position, both coordinates truncated toward zero; a
// longitude between 180 W and the west edge gives a small negative column.
MapPixel PositionToPixel(const MapGeometry& g, float latitude, float longitude);
// The position of a picture pixel; columns of the second copy count as the
// first copy's, and longitudes from 180 on come out west.
void PixelToPosition(const MapGeometry& g, int x, int y, float& latitude, float& longitude);
