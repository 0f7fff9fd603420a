#include "location/location_store.h"

#include "location_fixture.h"
#include "support/registry_setting.h"

namespace {

using LocationStoreTest = LocationTest;

// Each case stores a first position, then a second one; the second wins only when newer.
TEST_F(LocationStoreTest, OnlyNewerPositionsAreStored) {
  struct Case {
    const char* secondTime;
    bool stored;
  } cases[] = {
      {"2026-12-07T10:00:01Z", true},
      {"2027-01-01T00:00:00Z", true},
      {"2026-12-07T10:00:00Z", false},  // equal
      {"2026-12-07T09:59:59Z", false},  // older
      {"2025-12-31T23:59:59Z", false},
      {"not a time", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.secondTime);
    host_->Settings().gpsUpdate = "";
    host_->Settings().SaveLocation();
    SetLocation(*host_, "1", "2", "3", "2026-12-07T10:00:00Z");
    SetLocation(*host_, "4", "5", "6", c.secondTime);
    StoredLocation stored = GetLocation(*host_);
    EXPECT_STREQ(stored.lat.c_str(), c.stored ? "6.000000" : "3.000000");
    EXPECT_STREQ(stored.alt.c_str(), c.stored ? "4.000000" : "1.000000");
    EXPECT_STREQ(stored.timestamp.c_str(), c.stored ? c.secondTime : "2026-12-07T10:00:00Z");
  }
}

TEST_F(LocationStoreTest, TextThatIsNoNumberStoresZero) {
  SetLocation(*host_, "abc", "  -11.5", "nan", "2026-12-07T10:00:00Z");
  StoredLocation stored = GetLocation(*host_);
  EXPECT_STREQ(stored.alt.c_str(), "0.000000");
  EXPECT_STREQ(stored.lon.c_str(), "-11.500000");
  EXPECT_STREQ(stored.lat.c_str(), "0.000000");
}

TEST_F(LocationStoreTest, StoredPositionIsInTheRegistryAndSurvivesAFreshLoad) {
  SetLocation(*host_, "545.4", "11.516667", "48.117300", "2026-12-07T10:00:00Z");
  std::string registry = home_.Read("registry.reg");
  EXPECT_NE(registry.find("\"LATITUDE\"=\"48.117300\""), std::string::npos) << registry;
  EXPECT_NE(registry.find("\"LONGITUDE\"=\"11.516667\""), std::string::npos);
  EXPECT_NE(registry.find("\"ALTITUDE\"=\"545.400000\""), std::string::npos);
  EXPECT_NE(registry.find("\"GPS UPDATE\"=\"2026-12-07T10:00:00Z\""), std::string::npos);
  MSettings fresh;
  EXPECT_STREQ(fresh.latitude.c_str(), "48.117300");
  EXPECT_STREQ(fresh.gpsUpdate.c_str(), "2026-12-07T10:00:00Z");
}

// Another process (or the dialog's save) changed the registry: a read sees it.
TEST_F(LocationStoreTest, GetLocationReloadsTheRegistry) {
  ASSERT_TRUE(SetRegistryText(kSettingsKey, "LATITUDE", "-33.5"));
  ASSERT_TRUE(SetRegistryText(kSettingsKey, "GPS UPDATE", "2026-01-01T00:00:00Z"));
  StoredLocation stored = GetLocation(*host_);
  EXPECT_STREQ(stored.lat.c_str(), "-33.5");
  EXPECT_STREQ(stored.lon.c_str(), "0.00");
  EXPECT_STREQ(stored.timestamp.c_str(), "2026-01-01T00:00:00Z");
}

TEST(IsValidLocation, RejectsZeroAndOutOfRange) {
  struct Case {
    double lat, lon;
    bool valid;
  } cases[] = {{48.1, 11.5, true},  {-90, -180, true},    {90, 180, true},    {0, 11.5, false},
               {48.1, 0, false},    {90.01, 1, false},    {-90.01, 1, false}, {1, 180.01, false},
               {1, -180.01, false}, {0.0 / 0.0, 1, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidLocation(c.lat, c.lon), c.valid) << c.lat << "," << c.lon;
  }
}

}  // namespace
