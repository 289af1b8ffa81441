// Writes Orrery's world picture, bitmap 130, from Natural Earth's land
// polygons (world-atlas, 1:50m), as 16-colour BMPs: orrery/res/bitmap130.bmp
// (355 x 186) and the same picture at two and three times the size for
// high-density screens (bitmap130_2x.bmp, bitmap130_3x.bmp).
//
// The picture's left edge lies at 170 degrees west and its columns are
// linear in longitude over 360 degrees. Its rows follow the map control's
// four latitude bands: 88 N at the top edge, 64 N at row H/4, 23 N at H/2,
// 20 S at 3H/4 and 62 S at the bottom edge H, linear within each band.
//
// Run: cd tools/world-map && npm ci && node make-world-map.mjs
import { writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { feature } from "topojson-client";

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);
const outDir = join(here, "..", "..", "orrery", "res");

const BASE_WIDTH = 355;
const BASE_HEIGHT = 186;
const WEST_EDGE = -170;

// The control's bands: latitude = offset + row * slope / H, for
// rows [H * start, H * end).
const BANDS = [
  { start: 0, end: 1 / 4, offset: 88, slope: -96 },
  { start: 1 / 4, end: 1 / 2, offset: 105, slope: -164 },
  { start: 1 / 2, end: 3 / 4, offset: 109, slope: -172 },
  { start: 3 / 4, end: 1, offset: 106, slope: -168 },
];

// Palette indexes and colours (r, g, b).
const SEA = 0;
const SEA_GRID = 1;
const LAND = 2;
const LAND_GRID = 3;
const COAST = 4;
const PALETTE = [
  [46, 92, 138],    // sea
  [74, 118, 160],   // graticule over the sea
  [150, 178, 104],  // land
  [132, 160, 88],   // graticule over land
  [88, 116, 60],    // coast
];
while (PALETTE.length < 16) PALETTE.push([0, 0, 0]);

// Latitude at a continuous row coordinate y (0 at the top edge, h at the
// bottom edge).
function latitudeAt(y, h) {
  const f = y / h;
  const band = BANDS.find((b) => f < b.end) ?? BANDS[BANDS.length - 1];
  return band.offset + (y * band.slope) / h;
}

// The row whose span [row, row + 1) holds latitude lat.
function rowOf(lat, h) {
  const band = lat >= 64 ? BANDS[0] : lat >= 23 ? BANDS[1] : lat >= -20 ? BANDS[2] : BANDS[3];
  return Math.trunc(((lat - band.offset) * h) / band.slope);
}

// The column holding longitude lon, brought into 0 .. w - 1.
function columnOf(lon, w) {
  const c = Math.floor(((lon - WEST_EDGE) * w) / 360);
  return ((c % w) + w) % w;
}

// A ring with its longitudes made continuous: the converted topology joins
// pieces across the antimeridian, so consecutive vertices may jump by 360.
// A ring round a pole (Antarctica) then ends 360 degrees from its start; it
// is closed along the pole.
function unwrapRing(ring) {
  const out = [ring[0].slice()];
  for (let i = 1; i < ring.length; ++i) {
    let lon = ring[i][0];
    const prev = out[i - 1][0];
    while (lon - prev > 180) lon -= 360;
    while (lon - prev < -180) lon += 360;
    out.push([lon, ring[i][1]]);
  }
  const turn = out[out.length - 1][0] - out[0][0];
  if (Math.abs(turn) > 180) {
    const pole = out.reduce((sum, p) => sum + p[1], 0) < 0 ? -90 : 90;
    out.push([out[out.length - 1][0], pole], [out[0][0], pole]);
  }
  return out;
}

// The land polygons: arrays of rings, each ring an array of [lon, lat].
function loadPolygons() {
  const topology = require("world-atlas/land-50m.json");
  const land = feature(topology, topology.objects.land);
  const polygons = [];
  for (const f of land.type === "FeatureCollection" ? land.features : [land]) {
    const g = f.geometry;
    const parts = g.type === "Polygon" ? [g.coordinates] : g.type === "MultiPolygon" ? g.coordinates : [];
    for (const p of parts) polygons.push(p.map(unwrapRing));
  }
  return polygons;
}

// Longitudes at which the edges of a polygon's rings cross latitude lat,
// sorted.
function crossings(polygon, lat) {
  const xs = [];
  for (const ring of polygon) {
    for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
      const [lon1, lat1] = ring[j];
      const [lon2, lat2] = ring[i];
      // Half-open in latitude, so a vertex on the line counts once.
      if ((lat1 <= lat) === (lat2 <= lat)) continue;
      xs.push(lon1 + ((lat - lat1) * (lon2 - lon1)) / (lat2 - lat1));
    }
  }
  return xs.sort((a, b) => a - b);
}

// Scanline fill, even-odd within each polygon: a mask of w x h, true for
// land. A pixel is land when its centre is.
function rasterise(polygons, w, h) {
  const mask = new Uint8Array(w * h);
  const boxes = polygons.map((p) => {
    let lo = Infinity, hi = -Infinity;
    for (const [, lat] of p[0]) {
      lo = Math.min(lo, lat);
      hi = Math.max(hi, lat);
    }
    return [lo, hi];
  });
  for (let row = 0; row < h; ++row) {
    const lat = latitudeAt(row + 0.5, h);
    for (let k = 0; k < polygons.length; ++k) {
      if (lat < boxes[k][0] || lat > boxes[k][1]) continue;
      const xs = crossings(polygons[k], lat);
      for (let i = 0; i + 1 < xs.length; i += 2) {
        // Column centres c + 0.5 in [x1, x2); west of the left edge the
        // columns wrap round to the right end of the picture.
        const x1 = ((xs[i] - WEST_EDGE) * w) / 360;
        const x2 = ((xs[i + 1] - WEST_EDGE) * w) / 360;
        for (let c = Math.ceil(x1 - 0.5); c + 0.5 < x2; ++c) mask[row * w + (((c % w) + w) % w)] = 1;
      }
    }
  }
  return mask;
}

function render(polygons, scale) {
  const w = BASE_WIDTH * scale;
  const h = BASE_HEIGHT * scale;
  // Lines (graticule, coast) of one pixel at the base size, two at three
  // times the size.
  const line = Math.ceil(scale / 2);
  const land = rasterise(polygons, w, h);
  const isLand = (x, y) => y < 0 || y >= h || land[y * w + (((x % w) + w) % w)] === 1;
  const pixels = new Uint8Array(w * h);
  const gridColumns = new Set();
  const gridRows = new Set();
  for (let i = 0; i < line; ++i) {
    for (let lon = -150; lon <= 180; lon += 30) gridColumns.add((columnOf(lon, w) + i) % w);
    for (const lat of [60, 30, 0, -30, -60]) gridRows.add(rowOf(lat, h) + i);
  }
  const nearSea = (x, y) => {
    for (let d = 1; d <= line; ++d)
      if (!isLand(x - d, y) || !isLand(x + d, y) || !isLand(x, y - d) || !isLand(x, y + d)) return true;
    return false;
  };
  for (let y = 0; y < h; ++y) {
    for (let x = 0; x < w; ++x) {
      const grid = gridColumns.has(x) || gridRows.has(y);
      let colour;
      if (!isLand(x, y)) colour = grid ? SEA_GRID : SEA;
      else if (nearSea(x, y)) colour = COAST;
      else colour = grid ? LAND_GRID : LAND;
      pixels[y * w + x] = colour;
    }
  }
  return { w, h, pixels };
}

// A 4-bit BMP with a 16-colour palette, rows bottom up.
function bmp({ w, h, pixels }) {
  const rowBytes = Math.ceil((w * 4) / 32) * 4;
  const paletteBytes = 16 * 4;
  const offset = 14 + 40 + paletteBytes;
  const size = offset + rowBytes * h;
  const b = Buffer.alloc(size);
  b.write("BM", 0, "latin1");
  b.writeUInt32LE(size, 2);
  b.writeUInt32LE(offset, 10);
  b.writeUInt32LE(40, 14);
  b.writeInt32LE(w, 18);
  b.writeInt32LE(h, 22);
  b.writeUInt16LE(1, 26);
  b.writeUInt16LE(4, 28);
  b.writeUInt32LE(0, 30);
  b.writeUInt32LE(rowBytes * h, 34);
  b.writeInt32LE(2835, 38);
  b.writeInt32LE(2835, 42);
  b.writeUInt32LE(16, 46);
  b.writeUInt32LE(16, 50);
  PALETTE.forEach(([r, g, bl], i) => {
    b[54 + i * 4] = bl;
    b[55 + i * 4] = g;
    b[56 + i * 4] = r;
  });
  for (let y = 0; y < h; ++y) {
    const line = offset + (h - 1 - y) * rowBytes;
    for (let x = 0; x < w; x += 2) {
      const hi = pixels[y * w + x];
      const lo = x + 1 < w ? pixels[y * w + x + 1] : 0;
      b[line + x / 2] = (hi << 4) | lo;
    }
  }
  return b;
}

const polygons = loadPolygons();
for (const [scale, name] of [[1, "bitmap130.bmp"], [2, "bitmap130_2x.bmp"], [3, "bitmap130_3x.bmp"]]) {
  const path = join(outDir, name);
  writeFileSync(path, bmp(render(polygons, scale)));
  console.log(`wrote ${path}`);
}
