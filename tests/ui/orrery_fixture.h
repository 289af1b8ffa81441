// A fresh Orrery set-up for one test: registry, personal directory, the
// application object and Orrery's resources; help calls are recorded.
#pragma once

#include "orrery/main/scd_app.h"
#include "orrery/sky/location_store.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/ui_test_util.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class CLocationStore;
class CReportDoc;

// Two zones of the system's database, by key and display text.
inline constexpr char kTokyoKey[] = "Tokyo Standard Time";
inline constexpr char kTokyo[] = "(UTC+09:00) Osaka, Sapporo, Tokyo";
inline constexpr char kLondonKey[] = "GMT Standard Time";
inline constexpr char kLondon[] = "(UTC+00:00) Dublin, Edinburgh, Lisbon, London";

// A place record.
LocationRecord Place(const char* name, float latitude, float longitude, const char* zoneKey = "",
                     const char* zoneName = "");

class OrreryTest : public ::testing::Test {
protected:
  OrreryTest();
  ~OrreryTest() override;

  // The location store and report document, made on first use.
  CReportDoc& Doc();
  // A quotation file in the notes folder whose every day gives quote.
  std::string MakeQuoteFile(const std::string& name, const std::string& title,
                            const std::string& subtitle = {},
                            const std::string& quote = "Carpe diem.");

  TempRegistry registry;
  TempDir notesDir;
  CScdApp app{"Orrery"};
  HelpRecorder help;

private:
  std::unique_ptr<CLocationStore> m_places;
  std::unique_ptr<CReportDoc> m_doc;
};
