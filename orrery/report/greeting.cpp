#include "orrery/report/greeting.h"

#include "orrery/res/resource.h"
#include "platform/strings.h"
#include "platform/winapp.h"

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kName = "Name";
constexpr int kSayings = 46;
constexpr int kFriday = 6;  // GetDayOfWeek counts from Sunday = 1
constexpr int kMonday = 2;

// Item k (from 1) of a list written as "|one|two|three|".
std::string Item(const std::string& list, int k) {
  size_t start = 0;
  for (int i = 0; i < k; ++i) {
    const size_t bar = list.find('|', start);
    if (bar == std::string::npos) return {};
    start = bar + 1;
  }
  const size_t end = list.find('|', start);
  return list.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

CGreeting::CGreeting() : CGreeting(CDateTime::GetCurrentTime()) {}

CGreeting::CGreeting(const CDateTime& stamp)
    : m_seed(stamp.IsValid() ? stamp.GetSecond() : 0), m_stamp(std::make_unique<CDateTime>(stamp)) {
  if (CWinApp* app = AfxGetApp()) m_name = app->GetProfileString(kOptions, kName, "");
}

CGreeting::~CGreeting() { SaveName(); }

void CGreeting::SetName(const std::string& name) {
  if (name != m_name) m_nameChanged = true;
  m_name = name;
}

bool CGreeting::SaveName() {
  if (!m_nameChanged) return true;
  CWinApp* app = AfxGetApp();
  if (!app || !app->WriteProfileString(kOptions, kName, m_name)) return false;
  m_nameChanged = false;
  return true;
}

std::string CGreeting::GetGreeting() const {
  const int h = m_stamp->GetHour();
  const int m = m_stamp->GetMinute();
  const int d = m_stamp->GetDay();
  const int w = m_stamp->GetDayOfWeek();
  const int y = m_stamp->GetDayOfYear();
  const int s = m_seed;

  unsigned list = h >= 17   ? IDS_GREET_EVENING
                  : h >= 14 ? IDS_GREET_AFTERNOON
                  : h >= 11 ? IDS_GREET_MIDDAY
                  : h >= 3  ? IDS_GREET_MORNING
                            : IDS_GREET_SAYINGS;
  int k = 1;
  if (s % 4 != 0) {
    k = 1;
  } else if (s < 8) {
    k = s / 4 + 2;
  } else {
    list = IDS_GREET_SAYINGS;
    k = (s + m + d) % kSayings + 1;
    if (s >= 40) {
      // Occasions, in order: a later one that holds wins.
      const struct { bool holds; int item; } occasions[] = {
          {h >= 13 && h <= 16 && w == kFriday, 1},
          {d == 1 && h < 12, 7},
          {y >= 341, 2},
          {h < 4, 3},
          {h == 6, 6},
          {h >= 6 && h <= 9 && w == kMonday, 4},
      };
      for (const auto& o : occasions) {
        if (o.holds) {
          list = IDS_GREET_OCCASIONS;
          k = o.item;
        }
      }
    }
    if (y == 1) {
      list = IDS_GREET_OCCASIONS;
      k = 5;
    }
  }
  return Item(LoadString(list), k) + " " + m_name + "!\r\n";
}
