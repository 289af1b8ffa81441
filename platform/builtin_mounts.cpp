#include "platform/builtin_mounts.h"

#include "platform/autostart.h"
#include "platform/timezone_db.h"

std::vector<BuiltinMount> BuiltinMounts() {
  return {
      {BuiltinMount::kLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones",
       MakeTimeZoneProvider()},
      {BuiltinMount::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\run",
       MakeRunKeyProvider()},
  };
}
