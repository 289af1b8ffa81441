// The world map control: the pixel rule, the doubled picture, the marker by
// inversion, dragging with the parent's data exchange, scrolling round, the
// double click, the context menu and help, the night shade, and the fit of
// the world picture to the rule.
#include "orrery/res/ui_ids.h"
#include "orrery/res/ui_resources.h"
#include "orrery/ui/map_geometry.h"
#include "orrery/ui/world_map_ctrl.h"
#include "platform/ui/ddx.h"
#include "platform/ui/help.h"
#include "platform/ui/property_sheet.h"
#include "tests/ui/ui_test_util.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWhatsThis>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// A picture of 644 x 169: the client area that the Places page's map has.
const QSize kClient(305, 169);

// The parent: counts its data exchanges and the commands it receives.
class MapHost : public CPropertyPage {
public:
  MapHost() : CPropertyPage(IDD_PLACES) {}
  void DoDataExchange(CDataExchange* dx) override {
    if (dx->m_bSaveAndValidate) {
      events.push_back("save");
      return;
    }
    float lat = 0, lon = 0;
    if (map) map->GetPosition(lat, lon);
    events.push_back("load");
    loaded.push_back({lat, lon});
  }
  bool OnCommand(unsigned id) override {
    events.push_back("command " + std::to_string(id));
    return id != ID_HELP;  // help goes on to the application
  }
  CWorldMapCtrl* map = nullptr;
  std::vector<std::string> events;
  std::vector<std::pair<float, float>> loaded;
};

class WorldMapTest : public ::testing::Test {
protected:
  WorldMapTest() {
    SetUiResources(&OrreryUiResources());
    host.CreatePage();
    // The page's own first data exchange is not the map's.
    host.events.clear();
    host.loaded.clear();
    host.resize(700, 300);
    host.show();
  }
  ~WorldMapTest() override { SetUiResources(nullptr); }

  // A map on the host with a client area of kClient; shade off unless a
  // moment is given.
  std::unique_ptr<CWorldMapCtrl> MakeMap(const CDateTime& shadeTime = CDateTime(),
                                         unsigned bitmap = IDB_WORLD) {
    auto map = std::make_unique<CWorldMapCtrl>();
    map->SetMenuId(IDR_MAP_MENU);
    map->SetNightShade(shadeTime.IsValid());
    map->SetShadeTime(shadeTime);
    EXPECT_TRUE(map->Create(bitmap, QRect(QPoint(4, 4), map->CalcWindowSize(kClient)), &host, IDC_MAP));
    if (!host.map) host.map = map.get();  // the test's first map feeds the host
    return map;
  }

  // Mouse events at client points.
  static void Mouse(CWorldMapCtrl& map, QEvent::Type type, QPoint client, bool held = true) {
    const QPointF at = client + map.ClientRect().topLeft();
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, map.mapToGlobal(at), button, held ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&map, &e);
  }
  static void Press(CWorldMapCtrl& map, QPoint p) { Mouse(map, QEvent::MouseButtonPress, p); }
  static void Move(CWorldMapCtrl& map, QPoint p) { Mouse(map, QEvent::MouseMove, p); }
  static void Release(CWorldMapCtrl& map, QPoint p) { Mouse(map, QEvent::MouseButtonRelease, p, false); }

  HelpRecorder help;
  MapHost host;
};

// The pixels where two pictures differ.
std::vector<QPoint> Differences(const QImage& a, const QImage& b) {
  std::vector<QPoint> out;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) out.emplace_back(x, y);
  return out;
}

TEST(MapGeometry, PixelRuleOfA644By169Picture) {
  const MapGeometry g = MakeMapGeometry(644, 169);
  EXPECT_EQ(g.copyWidth, 322);
  EXPECT_EQ(g.height, 169);
  struct ToPixel {
    float lat, lon;
    int x, y;
  };
  const ToPixel toPixel[] = {
      {51.5f, 0.0f, 152, 55},  {88.0f, -170.0f, 0, 0},
      {0.0f, -180.0f, -8, 107},  // west of the west edge: a negative column
      {64.0f, -170.0f, 0, 42},    {-50.0f, 180.0f, 313, 156},
  };
  for (const ToPixel& c : toPixel) {
    const MapPixel p = PositionToPixel(g, c.lat, c.lon);
    EXPECT_EQ(p.x, c.x) << c.lat << ", " << c.lon;
    EXPECT_EQ(p.y, c.y) << c.lat << ", " << c.lon;
  }
  struct ToPosition {
    int x, y;
    float lat, lon;
  };
  const ToPosition toPosition[] = {
      {152, 55, 51.63f, -0.06f},
      {152 + 322, 55, 51.63f, -0.06f},  // the second copy counts as the first
      {0, 0, 88.0f, -170.0f},
      {321, 168, -61.0f, -171.12f},     // 188.9 comes out west
      {0, 42, 64.24f, -170.0f},          // row H/4 is on band 1's line
      {0, 41, 64.71f, -170.0f},          // the row above on band 0's
      {0, 126, -19.25f, -170.0f},        // row 3H/4 on band 3's line
  };
  for (const ToPosition& c : toPosition) {
    float lat = 0, lon = 0;
    PixelToPosition(g, c.x, c.y, lat, lon);
    EXPECT_NEAR(lat, c.lat, 0.01) << c.x << ", " << c.y;
    EXPECT_NEAR(lon, c.lon, 0.01) << c.x << ", " << c.y;
  }
  // Band edges: latitudes from the bottom of each band, rows from H/4, H/2, 3H/4.
  EXPECT_EQ(LatitudeBand(64.0f), 0);
  EXPECT_EQ(LatitudeBand(63.99f), 1);
  EXPECT_EQ(LatitudeBand(23.0f), 1);
  EXPECT_EQ(LatitudeBand(-20.0f), 2);
  EXPECT_EQ(LatitudeBand(-20.01f), 3);
  EXPECT_EQ(RowBand(g, 41), 0);
  EXPECT_EQ(RowBand(g, 42), 1);
  EXPECT_EQ(RowBand(g, 84), 2);
  EXPECT_EQ(RowBand(g, 125), 2);
  EXPECT_EQ(RowBand(g, 126), 3);
  // Nonsense in, a pixel out.
  const MapPixel nan = PositionToPixel(g, std::nanf(""), 1e30f);
  EXPECT_EQ(nan.y, 0);
  EXPECT_EQ(nan.x, 1000000);
}

TEST_F(WorldMapTest, CreateBuildsTwoOverlappingCopiesAndCentresTheScrollBar) {
  auto map = MakeMap();
  const QImage& picture = map->GetPicture();
  ASSERT_EQ(picture.size(), QSize(644, 169));
  EXPECT_EQ(map->GetGeometry().copyWidth, 322);
  EXPECT_EQ(map->GetScrollBar()->minimum(), 161 - 322 + 1);
  EXPECT_EQ(map->GetScrollBar()->maximum(), 161);
  EXPECT_EQ(map->GetScrollBar()->value(), 0);
  EXPECT_EQ(map->GetScrollOffset(), 0);
  EXPECT_EQ(map->GetMarkerPoint(), QPoint(1, 1));
  EXPECT_EQ(map->cursor().shape(), Qt::SizeAllCursor);
  // The second copy starts at column W - 1 (below the marker's rows).
  for (int y = 20; y < 169; y += 7)
    for (int x = 0; x < 322; ++x)
      ASSERT_EQ(picture.pixel(x, y), picture.pixel(x + 321, y)) << x << ", " << y;

  EXPECT_FALSE(map->Create(IDB_WORLD, QRect(0, 0, 100, 100), &host, IDC_MAP));  // once only
  CWorldMapCtrl orphan;
  EXPECT_FALSE(orphan.Create(IDB_WORLD, QRect(0, 0, 100, 100), nullptr, IDC_MAP));
  EXPECT_TRUE(orphan.GetPicture().isNull());

  // The page's own rectangle, from dialog units: the picture fills the
  // client height and keeps the world's proportions.
  CWorldMapCtrl paged;
  ASSERT_TRUE(paged.Create(IDB_WORLD, DialogUnitsToPixels(DialogBaseUnits(host.font()), 3, 7, 205, 115),
                           &host, IDC_MAP));
  const int clientHeight = paged.ClientRect().height();
  EXPECT_NEAR(paged.GetGeometry().height, clientHeight, 1);
  EXPECT_EQ(paged.GetGeometry().copyWidth, static_cast<int>(355 * (clientHeight / 186.0)));
}

TEST_F(WorldMapTest, TheMarkerIsDrawnByInversionAndErasedExactly) {
  auto fresh = MakeMap();
  auto travelled = MakeMap();
  auto direct = MakeMap();
  travelled->SetPosition(51.5f, 0.0f);
  travelled->SetPosition(-33.9f, 151.2f);
  travelled->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);
  travelled->SetPosition(40.0f, -74.0f);
  travelled->OnHScroll(CWorldMapCtrl::SB_PAGELEFT);
  travelled->SetPosition(-20.0f, 179.0f);
  direct->SetPosition(-20.0f, 179.0f);
  // Every marker drawn on the way was removed without a trace.
  EXPECT_EQ(travelled->GetPicture(), direct->GetPicture());

  // Against the fresh picture (marker at (1, 1)): the pixels that differ
  // lie in the markers' squares, in both copies, and are inverted.
  const MapPixel at = PositionToPixel(direct->GetGeometry(), -20.0f, 179.0f);
  EXPECT_EQ(direct->GetMarkerPoint(), QPoint(at.x, at.y));
  const QImage& a = fresh->GetPicture();
  const QImage& b = direct->GetPicture();
  int inFirst = 0, inSecond = 0;
  for (const QPoint& p : Differences(a, b)) {
    const bool nearOld = std::abs(p.y() - 1) <= 7 && (std::abs(p.x() - 1) <= 7 || std::abs(p.x() - 323) <= 7);
    const bool nearFirst = std::abs(p.y() - at.y) <= 7 && std::abs(p.x() - at.x) <= 7;
    const bool nearSecond = std::abs(p.y() - at.y) <= 7 && std::abs(p.x() - at.x - 322) <= 7;
    ASSERT_TRUE(nearOld || nearFirst || nearSecond) << p.x() << ", " << p.y();
    EXPECT_EQ(a.pixel(p) & 0xFFFFFF, ~b.pixel(p) & 0xFFFFFF) << p.x() << ", " << p.y();
    inFirst += nearFirst;
    inSecond += nearSecond;
  }
  EXPECT_GT(inFirst, 20);
  EXPECT_EQ(inFirst, inSecond);
}

TEST_F(WorldMapTest, Longitude180WestShowsOnlyTheCopyShiftedByACopyWidth) {
  auto map = MakeMap();
  map->SetPosition(10.0f, 100.0f);
  const QImage before = map->GetPicture();
  map->SetPosition(10.0f, -180.0f);
  const int row = map->GetMarkerPoint().y();
  EXPECT_EQ(map->GetMarkerPoint(), QPoint(-8, row));
  int nearShifted = 0;
  for (const QPoint& p : Differences(before, map->GetPicture())) {
    EXPECT_GE(p.x(), 100) << "the first copy falls off the left edge";
    nearShifted += std::abs(p.x() - 314) <= 7 && std::abs(p.y() - row) <= 7;
  }
  EXPECT_GT(nearShifted, 20);
}

TEST_F(WorldMapTest, DraggingFollowsTheMouseAndDrivesTheParentsDataExchange) {
  auto map = MakeMap();
  map->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);
  map->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);  // offset 10
  host.events.clear();

  Press(*map, {100, 50});
  EXPECT_TRUE(map->IsDragging());
  EXPECT_EQ(map->cursor().shape(), Qt::CrossCursor);
  Move(*map, {120, 60});
  Move(*map, {130, 70});
  Release(*map, {130, 70});
  EXPECT_FALSE(map->IsDragging());
  EXPECT_EQ(map->cursor().shape(), Qt::SizeAllCursor);

  EXPECT_EQ(host.events, (std::vector<std::string>{"save", "load", "load", "load", "load"}));
  // Each refresh read the position under the pointer, scroll offset included.
  const QPoint points[] = {{110, 50}, {130, 60}, {140, 70}, {140, 70}};
  ASSERT_EQ(host.loaded.size(), std::size(points));
  for (size_t i = 0; i < std::size(points); ++i) {
    float lat = 0, lon = 0;
    PixelToPosition(map->GetGeometry(), points[i].x(), points[i].y(), lat, lon);
    EXPECT_FLOAT_EQ(host.loaded[i].first, lat) << i;
    EXPECT_FLOAT_EQ(host.loaded[i].second, lon) << i;
  }
  EXPECT_EQ(map->GetMarkerPoint(), QPoint(140, 70));

  // The marker went down where a plain click at that point puts it.
  auto clicked = MakeMap();
  clicked->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);
  clicked->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);
  Press(*clicked, {130, 70});
  Release(*clicked, {130, 70});
  EXPECT_EQ(map->GetPicture(), clicked->GetPicture());
}

TEST_F(WorldMapTest, ADragLeavingTheControlEndsWithTheMarkerAtTheLastPointInside) {
  auto map = MakeMap();
  host.events.clear();
  Press(*map, {100, 50});
  Move(*map, {200, 80});
  Move(*map, {-5, 80});  // outside: ends the drag
  EXPECT_FALSE(map->IsDragging());
  EXPECT_EQ(map->cursor().shape(), Qt::SizeAllCursor);
  Move(*map, {150, 80});  // back inside, button still held: no longer dragging
  Release(*map, {-5, 80});
  EXPECT_EQ(host.events, (std::vector<std::string>{"save", "load", "load", "load", "load"}));
  EXPECT_EQ(map->GetMarkerPoint(), QPoint(200, 80));
  float lat = 0, lon = 0, expectedLat = 0, expectedLon = 0;
  map->GetPosition(lat, lon);
  PixelToPosition(map->GetGeometry(), 200, 80, expectedLat, expectedLon);
  EXPECT_FLOAT_EQ(lat, expectedLat);
  EXPECT_FLOAT_EQ(lon, expectedLon);

  auto clicked = MakeMap();
  Press(*clicked, {200, 80});
  Release(*clicked, {200, 80});
  EXPECT_EQ(map->GetPicture(), clicked->GetPicture());
}

TEST_F(WorldMapTest, ScrollingWrapsRoundByACopyWidth) {
  auto map = MakeMap();
  map->SetPosition(51.5f, 0.0f);
  struct Step {
    unsigned code;
    int times;
    int offset;
  };
  const Step steps[] = {
      {CWorldMapCtrl::SB_LINERIGHT, 1, 2},    {CWorldMapCtrl::SB_LINELEFT, 2, 320},
      {CWorldMapCtrl::SB_PAGERIGHT, 1, 3},    {CWorldMapCtrl::SB_PAGELEFT, 1, 320},
      {CWorldMapCtrl::SB_BOTTOM, 1, 322},     {CWorldMapCtrl::SB_TOP, 1, 320},
      {CWorldMapCtrl::SB_ENDSCROLL, 1, 320},  {CWorldMapCtrl::SB_PAGERIGHT, 65, 320 + 325 - 644},
  };
  for (const Step& s : steps) {
    for (int i = 0; i < s.times; ++i) map->OnHScroll(s.code);
    EXPECT_EQ(map->GetScrollOffset(), s.offset) << s.code;
  }

  // Right past a copy width from 0 looks like the same way without it.
  auto right = MakeMap();
  right->SetPosition(51.5f, 0.0f);
  for (int i = 0; i < 65; ++i) right->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);  // 325 -> 3
  auto near = MakeMap();
  near->SetPosition(51.5f, 0.0f);
  near->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);
  near->OnHScroll(CWorldMapCtrl::SB_LINELEFT);  // 3
  EXPECT_EQ(right->GetScrollOffset(), 3);
  EXPECT_EQ(right->grab().toImage(), near->grab().toImage());
  EXPECT_NE(right->grab().toImage(), map->grab().toImage());

  // The bar's own buttons and trough act through the same table, and the
  // bar stays in the middle.
  QScrollBar* bar = near->GetScrollBar();
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = Qt::Horizontal;
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = option.sliderValue = 0;
  option.pageStep = bar->pageStep();
  option.singleStep = bar->singleStep();
  const QRect addLine =
      bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, bar);
  QTest::mouseClick(bar, Qt::LeftButton, {}, addLine.center());
  EXPECT_EQ(near->GetScrollOffset(), 5);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(near->GetScrollOffset(), 0);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(bar->sliderPosition(), 0);
  bar->setValue(40);  // "Scroll here"
  EXPECT_EQ(near->GetScrollOffset(), 40);
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(WorldMapTest, DraggingTheThumbMovesTheViewAndTheThumbReturnsToTheMiddle) {
  auto map = MakeMap();
  QScrollBar* bar = map->GetScrollBar();
  map->OnHScroll(CWorldMapCtrl::SB_PAGERIGHT);  // offset 5
  bar->setSliderDown(true);
  struct Track {
    int pos;
    int offset;
  };
  const Track track[] = {{40, 45}, {60, 65}, {-30, 297}, {-20, 307}, {161, 166}};
  for (const Track& t : track) {
    bar->setSliderPosition(t.pos);
    EXPECT_EQ(map->GetScrollOffset(), t.offset) << t.pos;
  }
  bar->setSliderDown(false);
  EXPECT_EQ(map->GetScrollOffset(), 166);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(bar->sliderPosition(), 0);

  // The next drag starts from where the view was left.
  bar->setSliderDown(true);
  bar->setSliderPosition(10);
  EXPECT_EQ(map->GetScrollOffset(), 176);
  bar->setSliderDown(false);
  EXPECT_EQ(map->GetScrollOffset(), 176);
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(WorldMapTest, DoubleClickSendsTheControlIdToTheParentAfterAnOrdinaryClick) {
  auto map = MakeMap();
  host.events.clear();
  Press(*map, {60, 60});
  Release(*map, {60, 60});
  Mouse(*map, QEvent::MouseButtonDblClick, {60, 60});
  EXPECT_FALSE(map->IsDragging());
  Release(*map, {60, 60});
  EXPECT_EQ(host.events, (std::vector<std::string>{"save", "load", "load", "command 112", "load"}));
}

TEST_F(WorldMapTest, ContextMenuCommandsReachTheParentAndWhatsThisGoesOnToHelp) {
  auto map = MakeMap();
  auto choose = [&](int item) {
    const QPoint at = map->ClientRect().center();
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, map->mapToGlobal(at));
    QApplication::sendEvent(map.get(), &e);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    QStringList texts;
    for (QAction* a : popup->actions()) texts << a->text();
    EXPECT_EQ(texts, QStringList({"&Save Location...", "&What's This?"}));
    popup->actions().at(item)->trigger();
    popup->close();
  };
  choose(0);
  choose(1);
  QCoreApplication::processEvents();  // a chosen command runs once the menu has returned
  EXPECT_EQ(host.events, (std::vector<std::string>{"command 127", "command 57670"}));
  using Call = std::pair<HelpCommand, unsigned long>;
  EXPECT_EQ(help.calls, (std::vector<Call>{{HELP_CONTEXT, 0x20000 + IDD_PLACES}}));

  // Without a menu the click goes on to the parent, which has none.
  map->SetMenuId(0);
  const QPoint at = map->ClientRect().center();
  QContextMenuEvent e(QContextMenuEvent::Mouse, at, map->mapToGlobal(at));
  QApplication::sendEvent(map.get(), &e);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(WorldMapTest, WhatsThisOnTheMapShowsItsPopupInsteadOfPicking) {
  auto map = MakeMap();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  host.events.clear();
  EnterWhatsThisMode();
  QTest::mouseClick(map.get(), Qt::LeftButton, {}, map->ClientRect().center());
  using Call = std::pair<HelpCommand, unsigned long>;
  EXPECT_EQ(help.calls, (std::vector<Call>{{HELP_CONTEXTPOPUP, 0x10000 + IDC_MAP}}));
  // No pick began: the parent never saved (the release that follows the
  // help click may still refresh it).
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "save"), 0);
  EXPECT_FALSE(map->IsDragging());
  if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
}

TEST_F(WorldMapTest, NightShadeDarkensTheDarkHalfAndKeepsTheMarkerSound) {
  const CDateTime june(2024, 6, 20, 12, 0);  // the Sun over 23.4 N, 0.4 E
  auto plain = MakeMap();
  auto shaded = MakeMap(june);
  auto brightness = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
  struct Spot {
    float lat, lon;
    bool night;
  };
  const Spot spots[] = {
      {23.0f, 0.0f, false}, {50.0f, 60.0f, false}, {80.0f, 179.0f, false},  // midnight sun
      {0.0f, 170.0f, true}, {-50.0f, -150.0f, true}, {-60.0f, 100.0f, true},
  };
  for (const Spot& s : spots) {
    const MapPixel p = PositionToPixel(plain->GetGeometry(), s.lat, s.lon);
    const QRgb day = plain->GetPicture().pixel(p.x, p.y);
    const QRgb now = shaded->GetPicture().pixel(p.x, p.y);
    if (s.night)
      EXPECT_LT(brightness(now), brightness(day) * 0.6) << s.lat << ", " << s.lon;
    else
      EXPECT_EQ(now, day) << s.lat << ", " << s.lon;
  }

  // Rebuilding for another moment and back, with a marker, leaves what a
  // map made for that moment shows.
  shaded->SetPosition(-33.9f, 18.4f);
  shaded->SetShadeTime(CDateTime(2024, 12, 21, 0, 0));
  EXPECT_NE(shaded->GetPicture(), MakeMap(june)->GetPicture());
  shaded->SetShadeTime(june);
  shaded->RefreshShade();
  auto direct = MakeMap(june);
  direct->SetPosition(-33.9f, 18.4f);
  EXPECT_EQ(shaded->GetPicture(), direct->GetPicture());

  shaded->SetNightShade(false);
  plain->SetPosition(-33.9f, 18.4f);
  EXPECT_EQ(shaded->GetPicture(), plain->GetPicture());
}

TEST_F(WorldMapTest, AMissingBitmapGivesABlankMapThatStillPicks) {
  auto map = MakeMap(CDateTime(), 9999);
  EXPECT_EQ(map->GetGeometry().copyWidth, 322);
  EXPECT_EQ(map->GetGeometry().height, 169);
  Press(*map, {152, 55});
  Release(*map, {152, 55});
  float lat = 0, lon = 0;
  map->GetPosition(lat, lon);
  EXPECT_NEAR(lat, 51.63, 0.01);
  EXPECT_NEAR(lon, -0.06, 0.01);
}

// The world picture itself: well-known coastal cities, placed by the rule on
// the picture and its larger renderings, fall on land (within two pixels of
// the picture's own size), and open ocean is sea.
TEST(WorldPicture, CoastsFitThePixelRule) {
  SetUiResources(&OrreryUiResources());
  struct Place {
    const char* name;
    float lat, lon;
  };
  // Coasts running east and west too, so that a row off shows.
  const Place cities[] = {
      {"Reykjavik", 64.15f, -21.94f},    {"Murmansk", 68.97f, 33.08f},
      {"Anchorage", 61.22f, -149.90f},   {"Lisbon", 38.72f, -9.14f},
      {"Alexandria", 31.20f, 29.92f},    {"Marseille", 43.30f, 5.37f},
      {"Singapore", 1.35f, 103.82f},     {"Lagos", 6.45f, 3.39f},
      {"Jakarta", -6.20f, 106.80f},      {"Rio de Janeiro", -22.91f, -43.17f},
      {"Cape Town", -33.92f, 18.42f},    {"Sydney", -33.87f, 151.21f},
      {"Wellington", -41.29f, 174.78f},  {"Melbourne", -37.81f, 144.96f},
      {"Montevideo", -34.90f, -56.19f},
  };
  const Place oceans[] = {
      {"Pacific", 0.0f, -140.0f}, {"South Atlantic", -40.0f, -20.0f}, {"Indian", -30.0f, 80.0f},
      {"North Atlantic", 45.0f, -35.0f}, {"Bering Sea", 57.0f, -178.0f},
  };
  for (const char* suffix : {"", "_2x", "_3x"}) {
    const QImage picture(QStringLiteral(":/orrery/bitmap130%1.bmp").arg(QLatin1String(suffix)));
    ASSERT_FALSE(picture.isNull()) << suffix;
    const int scale = picture.width() / 355;
    ASSERT_EQ(picture.size(), QSize(355 * scale, 186 * scale)) << suffix;
    // The rule of a doubled picture whose copies are these pictures.
    const MapGeometry g = MakeMapGeometry(2 * picture.width(), picture.height());
    // Land is greenish, sea bluish.
    auto land = [&](int x, int y) {
      if (y < 0 || y >= picture.height()) return false;
      const QRgb c = picture.pixel((x % picture.width() + picture.width()) % picture.width(), y);
      return qGreen(c) > qBlue(c);
    };
    // Whether some pixel within reach of p is land (or sea).
    auto near = [&](MapPixel p, int reach, bool wantLand) {
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
          if (land(p.x + dx, p.y + dy) == wantLand) return true;
      return false;
    };
    for (const Place& city : cities) {
      const MapPixel p = PositionToPixel(g, city.lat, city.lon);
      EXPECT_TRUE(near(p, 2 * scale, true)) << city.name << suffix << " at " << p.x << ", " << p.y;
      EXPECT_TRUE(near(p, 3 * scale, false)) << city.name << suffix << " is inland at " << p.x << ", " << p.y;
    }
    for (const Place& sea : oceans) {
      const MapPixel p = PositionToPixel(g, sea.lat, sea.lon);
      EXPECT_FALSE(land(p.x, p.y)) << sea.name << suffix;
    }
  }
  SetUiResources(nullptr);
}

}  // namespace
