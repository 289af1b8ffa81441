// The five stored places (Home and Location1..Location4), kept in the
// machine-wide profile under the sections "Location0" .. "Location4".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One place. A plain value, always copied whole.
struct LocationRecord {
  char name[32] = {};       // at most 31 characters, NUL-terminated
  float longitude = 0.0f;   // degrees, east positive
  float latitude = 0.0f;    // degrees, north positive
  char zoneName[80] = {};   // the zone's "Display" text, or empty
  char zoneKey[80] = {};    // the zone's key in the time zone database, or empty
  int32_t bias = 0;         // minutes: UTC = local time + bias; resolved, never stored

  void SetName(const std::string& text);
  void SetZoneName(const std::string& text);
  void SetZoneKey(const std::string& text);
};

// Copies text into a fixed NUL-terminated field of size bytes, cut to fit
// without splitting a UTF-8 character. size must be at least 1.
void CopyToField(char* field, std::size_t size, const std::string& text);

template <std::size_t N>
void CopyToField(char (&field)[N], const std::string& text) {
  CopyToField(field, N, text);
}

class CLocationStore {
public:
  static constexpr int kCount = 5;  // slot 0 is Home

  // Loads the five places.
  CLocationStore();
  // Saves the places set since the last load or save that no Save has
  // tried to write yet; one that failed to be written is not tried again.
  virtual ~CLocationStore();
  CLocationStore(const CLocationStore&) = delete;
  CLocationStore& operator=(const CLocationStore&) = delete;

  // Reads all five places (values that cannot be read take their
  // defaults) and forgets what was set.
  void Load();
  // Writes the places set since the last load or save, each place's five
  // values in one transaction, so that places set by other processes in
  // the meantime are kept. False when any of them could not be written:
  // those stay marked (see GetSaveError); the others are no longer marked.
  bool Save();
  // Forgets the places set and not saved, so that destruction writes none.
  void Discard();
  // Why the last Save failed, naming the settings file; "" after a Save
  // that wrote everything.
  const std::string& GetSaveError() const { return m_saveError; }
  // The first read that failed in the last Load (naming the settings
  // file), or "": the values it could not read took their defaults.
  const std::string& GetLoadError() const { return m_loadError; }

  LocationRecord& GetHome() { return m_slots[0]; }
  const LocationRecord& GetHome() const { return m_slots[0]; }
  // Index 1..4; null for any other index (Home only through GetHome).
  LocationRecord* GetLocation(int index);
  // Index 0..4: copies the whole record and marks the store modified.
  bool SetLocation(int index, const LocationRecord& record);
  // Same name (case-sensitive) and exactly the same latitude and longitude.
  bool IsHome(const LocationRecord& record) const;

  // Whether a place was set and is not saved yet.
  bool IsModified() const;
  // Whether place index was set and is not saved yet.
  bool IsModified(int index) const;

private:
  bool SaveSlot(int index);

  LocationRecord m_slots[kCount];
  bool m_changed[kCount] = {};  // set and not saved
  bool m_tried[kCount] = {};    // a Save has tried to write it since it was set
  std::string m_saveError;
  std::string m_loadError;
};
