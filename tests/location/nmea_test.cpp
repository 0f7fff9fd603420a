#include "location/nmea.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "location/gps.h"
#include "location/location_store.h"
#include "location/serial_reader.h"
#include "location_fixture.h"
#include "support/nmea_sentence.h"
#include "support/pty_pair.h"

namespace {

constexpr const char* kExample =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

struct GgaCase {
  const char* name;
  std::string sentence;
  GgaResult result;
  const char* lat = "";
  const char* lon = "";
  const char* alt = "";
};

TEST(ParseGga, ReadsOnlyWellFormedPositions) {
  const GgaCase cases[] = {
      {"example", kExample, GgaResult::kFix, "48.117300", "11.516667", "545.4"},
      {"south west", NmeaSentence("GPGGA,123519,4807.038,S,01131.000,W,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kFix, "-48.117300", "-11.516667", "545.4"},
      {"GNGGA", NmeaSentence("GNGGA,123519,4807.038,N,01131.000,E,2,08,0.9,-3,M,46.9,M,,"),
       GgaResult::kFix, "48.117300", "11.516667", "-3"},
      {"no checksum", "$GPGGA,123519,4807,N,01131,E,1,08,0.9,545.4,M,46.9,M,,", GgaResult::kFix,
       "48.116667", "11.516667", "545.4"},
      {"no fix", NmeaSentence("GPGGA,123519,,,,,0,00,,,M,,M,,"), GgaResult::kNoFix},
      {"empty latitude", NmeaSentence("GPGGA,123519,,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"wrong checksum", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48",
       GgaResult::kBadInput},
      {"checksum cut", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*4",
       GgaResult::kBadInput},
      {"13 fields", NmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,"),
       GgaResult::kBadInput},
      {"15 fields", NmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,,"),
       GgaResult::kBadInput},
      {"bad hemisphere", NmeaSentence("GPGGA,1,4807.038,X,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"minutes 60", NmeaSentence("GPGGA,1,4860.000,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"short longitude", NmeaSentence("GPGGA,1,4807.038,N,1131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"sign in latitude", NmeaSentence("GPGGA,1,-807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"latitude 91", NmeaSentence("GPGGA,1,9100.000,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"zero position", NmeaSentence("GPGGA,1,0000.000,N,00000.000,E,1,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"altitude text", NmeaSentence("GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,high,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"empty quality", NmeaSentence("GPGGA,1,4807.038,N,01131.000,E,,08,0.9,545.4,M,46.9,M,,"),
       GgaResult::kBadInput},
      {"other sentence", NmeaSentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,"),
       GgaResult::kBadInput},
      {"garbage", "$GPGGA,\x01\xff<&>,,,,,,,,,,,,", GgaResult::kBadInput},
  };
  for (const GgaCase& c : cases) {
    SCOPED_TRACE(c.name);
    GgaFix fix;
    ASSERT_EQ(ParseGga(c.sentence.data(), c.sentence.size(), &fix), c.result);
    if (c.result == GgaResult::kFix) {
      EXPECT_STREQ(fix.latText.c_str(), c.lat);
      EXPECT_STREQ(fix.lonText.c_str(), c.lon);
      EXPECT_STREQ(fix.altitude.c_str(), c.alt);
    }
  }
}

// Feeds `stream` in chunks of `size` and collects what the assembler hands over.
std::vector<std::pair<std::string, bool>> Assemble(const std::string& stream, std::size_t size) {
  MNmeaAssembler assembler;
  std::vector<std::pair<std::string, bool>> out;
  for (std::size_t at = 0; at < stream.size(); at += size) {
    std::string chunk = stream.substr(at, size);
    assembler.Feed(chunk.data(), chunk.size(), [&](std::string_view s, bool complete) {
      out.emplace_back(std::string(s), complete);
    });
  }
  return out;
}

TEST(NmeaAssembler, SentencesSurviveEveryChunkSize) {
  std::string rmc = NmeaSentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,");
  std::string stream = "noise" + std::string(kExample) + "\r\n" + rmc + "\r\n$GPGGA,no end";
  for (std::size_t size = 1; size <= 7; ++size) {
    SCOPED_TRACE(size);
    auto out = Assemble(stream, size);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], std::make_pair(std::string(kExample), true));
    EXPECT_EQ(out[1], std::make_pair(rmc, true));
  }
}

TEST(NmeaAssembler, BrokenSentencesAreHandedOverAsIncompleteAndBounded) {
  struct Case {
    const char* name;
    std::string stream;
    std::vector<std::pair<std::string, bool>> expected;
  } cases[] = {
      {"cut by a new sentence",
       "$GPGGA,1234$GPGGA,5\n",
       {{"$GPGGA,1234", false}, {"$GPGGA,5", true}}},
      {"too long",
       "$" + std::string(kMaxSentenceLength, 'x') + "\n",
       {{"$" + std::string(kMaxSentenceLength, 'x'), false}}},
      {"checksum ends it", "$A*12$B\r", {{"$A*12", true}, {"$B", true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Assemble(c.stream, c.stream.size()), c.expected);
  }
  MNmeaAssembler assembler;
  std::string flood(10000, 'y');
  flood[0] = '$';
  assembler.Feed(flood.data(), flood.size(), [](std::string_view, bool) {});
  EXPECT_LE(assembler.Pending().size(), kMaxSentenceLength);
}

using NmeaReaderTest = LocationTest;

TEST_F(NmeaReaderTest, PositionSentenceStoresTheFixAndTracesIt) {
  host_->Settings().debugMode = true;
  MNmeaReader reader(*host_);
  reader.ProcessNmea((std::string(kExample) + "\r\n").c_str());
  StoredLocation stored = GetLocation(*host_);
  EXPECT_STREQ(stored.lat.c_str(), "48.117300");
  EXPECT_STREQ(stored.lon.c_str(), "11.516667");
  EXPECT_STREQ(stored.alt.c_str(), "545.400000");
  EXPECT_STREQ(GpsStatus().c_str(), "OK - UPDATED");
  EXPECT_EQ(fixShown, 1);
  std::vector<std::string> expected = {"INP=",
                                       kExample,
                                       "\n",
                                       "4807.038N=[48,07.038,N]=48.117300",
                                       "01131.000E=[011,31.000,E]=11.516667",
                                       "\n"};
  EXPECT_EQ(host_->LogLines(), expected);
}

TEST_F(NmeaReaderTest, OutcomesOfOneChunk) {
  struct Case {
    const char* name;
    std::string chunk;
    bool debug;
    const char* status;
    int fix;
    const char* lat;  // stored afterwards
    std::size_t logEntries;
  } cases[] = {
      {"south west", NmeaSentence("GPGGA,1,4807.038,S,01131.000,W,1,08,0.9,5,M,46.9,M,,") + "\r\n",
       true, "OK - UPDATED", 1, "-48.117300", 0},
      {"no trace without debug mode", std::string(kExample) + "\r\n", false, "OK - UPDATED", 1,
       "48.117300", 0},
      {"no fix", NmeaSentence("GPGGA,123519,,,,,0,00,,,M,,M,,") + "\r\n", true, "NO GPS FIX", 0,
       "0.00", 0},
      {"cut off by the next sentence",
       "$GPGGA,123519,4807.038,N,011" + NmeaSentence("GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1"), true,
       "READ ERROR", -1, "0.00", 0},
      {"wrong checksum", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*40\r\n",
       true, "READ ERROR", -1, "0.00", 0},
      {"unfinished is no error yet", "$GPGGA,123519,4807.038,N,011", true, "PARSING", -1, "0.00",
       0},
      {"markup in a traced field",
       NmeaSentence("GPGGA,<b>&,4807.038,N,01131.000,E,1,08,0.9,5,M,,M,,"), true, "OK - UPDATED", 1,
       "48.117300", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempHome home;  // each case starts from a fresh store
    HeadlessHost host;
    host.Settings().debugMode = c.debug;
    fixShown = -1;
    MNmeaReader reader(host);
    reader.ProcessNmea(c.chunk.c_str());
    EXPECT_STREQ(GpsStatus().c_str(), c.status);
    EXPECT_EQ(fixShown, c.fix);
    EXPECT_STREQ(GetLocation(host).lat.c_str(), c.lat);
    std::vector<std::string> log = host.LogLines();
    ASSERT_EQ(log.size(), c.logEntries);
    for (const std::string& entry : log) {
      EXPECT_EQ(entry.find('<'), std::string::npos) << entry;
    }
  }
}

// A sentence split across two chunks, at every point, is read exactly once.
TEST_F(NmeaReaderTest, SplitSentenceIsReadOnce) {
  host_->Settings().debugMode = true;
  std::string stream = std::string(kExample) + "\r\n";
  for (std::size_t split = 1; split < stream.size(); ++split) {
    MNmeaReader reader(*host_);
    reader.ProcessNmea(stream.substr(0, split).c_str());
    reader.ProcessNmea(stream.substr(split).c_str());
    EXPECT_EQ(CountLog("INP="), static_cast<int>(split)) << "split at " << split;
  }
  EXPECT_STREQ(GetLocation(*host_).lat.c_str(), "48.117300");
}

TEST_F(NmeaReaderTest, FailedStartTellsTheUserAndTurnsGpsOff) {
  struct Case {
    const char* port;
    std::vector<std::string> messages;
  } cases[] = {
      {"AUTO",
       {"Cannot initialize GPS. Please make sure a GPS receiver is connected and available."}},
      {"COM11:",
       {"Cannot open GPS COM Port COM11:",
        "Cannot initialize GPS. Please make sure a GPS receiver is connected and available."}},
      {"bogus",
       {"Cannot open GPS COM Port bogus",
        "Cannot initialize GPS. Please make sure a GPS receiver is connected and available."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    HeadlessHost host;
    host.Settings().gpsPort = c.port;
    host.Settings().enableGps = true;
    EXPECT_FALSE(StartGps(host));
    EXPECT_EQ(host.MessageBoxes(), c.messages);
    EXPECT_FALSE(host.Settings().enableGps);
    EXPECT_STREQ(GpsStatus().c_str(), "INIT FAILED");
  }
}

// AUTO takes the highest port from COM8 down that opens: with receivers on COM3 and COM6,
// COM6.
TEST_F(NmeaReaderTest, AutomaticDetectionTriesTheHighestPortFirst) {
  PtyPair low;
  PtyPair high;
  ASSERT_TRUE(low.ok() && high.ok());
  ASSERT_TRUE(MapSerialPort("COM3:", low.slavePath()));
  ASSERT_TRUE(MapSerialPort("COM6:", high.slavePath()));
  for (const char* absent : {"COM8:", "COM7:"}) {
    ASSERT_TRUE(MapSerialPort(absent, "/nonexistent/tty"));
  }
  HeadlessHost host;
  host.Settings().gpsPort = "AUTO";
  host.Settings().enableGps = true;
  static std::vector<std::string> words;  // the reader thread sets words too: collected, locked
  static std::mutex wordsLock;
  SetGpsStatusListener(
      [](const char* word, void*) {
        std::lock_guard<std::mutex> guard(wordsLock);
        words.emplace_back(word);
      },
      nullptr);
  EXPECT_TRUE(StartGps(host));
  SerialReader::Destroy();
  SetGpsStatusListener(nullptr, nullptr);
  std::lock_guard<std::mutex> guard(wordsLock);
  EXPECT_NE(std::find(words.begin(), words.end(), "GPS ON COM6"), words.end());
  EXPECT_EQ(std::find(words.begin(), words.end(), "GPS ON COM3"), words.end());
  EXPECT_TRUE(host.MessageBoxes().empty());
}

}  // namespace
