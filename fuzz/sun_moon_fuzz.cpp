// The Sun and Moon for any float place, bias and date: no crash and no
// undefined behaviour, and every sentence is there.
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch.h"
#include "orrery/sky/sun_moon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputCursor in(data, size);
  LocationRecord place;
  place.latitude = in.TakeFloat();
  place.longitude = in.TakeFloat();
  place.bias = static_cast<int32_t>(in.Take(4));
  const int year = 100 + static_cast<int>(in.Take(2) % 9900);
  const int month = 1 + static_cast<int>(in.Take(1) % 12);
  const int day = 1 + static_cast<int>(in.Take(1) % 31);
  const double hours = in.TakeDouble();
  const double t = in.TakeDouble();

  CSunMoon sky;
  const CDateTime date(year, month, day);
  FUZZ_CHECK(sky.SetDate(date) == date.IsValid());
  sky.SetPlace(place);
  FUZZ_CHECK(!sky.SunText().empty());
  FUZZ_CHECK(!sky.MoonText().empty());
  FUZZ_CHECK(!sky.PhaseText().empty());
  FUZZ_CHECK(!CSunMoon::TimeText(hours).empty());
  double ra = 0, dec = 0;
  SunRaDec(t, ra, dec);
  return 0;
}
