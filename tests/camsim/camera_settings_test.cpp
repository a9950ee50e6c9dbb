// Camera defaults and the key=value text of --camera, --config and the
// control channel's `cameras`.
#include "tools/camsim/camera_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace camsim {
namespace {

TEST(DefaultCamera, FollowsItsNumber) {
  CameraSettings first = DefaultCamera(1);
  EXPECT_EQ(FormatCamera(first, ','),
            "mac=001A2B3C4D01,name=Camera-1,ip=10.77.0.101,mask=255.255.255.0,"
            "gateway=10.77.0.1,http=80,audio=8000,assign=FFFFFFFF,account=,password=,"
            "version=V2.6.0");
  // 10.77.0.(100+N) as long as it fits, then the carry.
  EXPECT_EQ(FormatCamera(DefaultCamera(155), ',').substr(0, 47),
            "mac=001A2B3C4D9B,name=Camera-155,ip=10.77.0.255");
  EXPECT_EQ(FormatCamera(DefaultCamera(256), ',').substr(0, 47),
            "mac=001A2B3C4E00,name=Camera-256,ip=10.77.1.100");
}

TEST(DefaultCamera, ALargeBurstHasNoDuplicateMacOrAddress) {
  std::set<std::string> macs;
  std::set<std::string> ips;
  for (std::size_t n = 1; n <= kMaxCameras; ++n) {
    CameraSettings camera = DefaultCamera(n);
    macs.insert(std::string(camera.mac, camera.mac + 6));
    ips.insert(std::string(camera.ip, camera.ip + 4));
  }
  EXPECT_EQ(macs.size(), kMaxCameras);
  EXPECT_EQ(ips.size(), kMaxCameras);
}

struct GoodCase {
  const char* text;
  const char* expected;  // FormatCamera(..., ',') of the result
};

class ParseGood : public testing::TestWithParam<GoodCase> {};

TEST_P(ParseGood, GivesTheSettings) {
  CameraSettings camera;
  std::string error;
  ASSERT_TRUE(ParseCamera(GetParam().text, 2, camera, error)) << error;
  EXPECT_EQ(FormatCamera(camera, ','), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseGood,
    testing::Values(
        GoodCase{"", "mac=001A2B3C4D02,name=Camera-2,ip=10.77.0.102,mask=255.255.255.0,"
                     "gateway=10.77.0.1,http=80,audio=8000,assign=FFFFFFFF,account=,password=,"
                     "version=V2.6.0"},
        GoodCase{"name=CamA,mac=001a2b3c4dff,ip=192.168.1.10,mask=255.255.0.0,gateway=0.0.0.0,"
                 "http=65535,audio=0,assign=FFFF01ff,version=V2.6.1,account=user,password=secret",
                 "mac=001A2B3C4DFF,name=CamA,ip=192.168.1.10,mask=255.255.0.0,gateway=0.0.0.0,"
                 "http=65535,audio=0,assign=FFFF01FF,account=user,password=secret,"
                 "version=V2.6.1"},
        // Blanks around keys and values go; empty items are skipped.
        GoodCase{" name = Cam B , , http= 8080 ,",
                 "mac=001A2B3C4D02,name=Cam\\x20B,ip=10.77.0.102,mask=255.255.255.0,"
                 "gateway=10.77.0.1,http=8080,audio=8000,assign=FFFFFFFF,account=,password=,"
                 "version=V2.6.0"},
        // A name that fills all 16 bytes, and escapes for bytes the syntax needs.
        GoodCase{"name=ABCDEFGHIJKLMNOP,password=a\\x2Cb\\x3Dc",
                 "mac=001A2B3C4D02,name=ABCDEFGHIJKLMNOP,ip=10.77.0.102,mask=255.255.255.0,"
                 "gateway=10.77.0.1,http=80,audio=8000,assign=FFFFFFFF,account=,"
                 "password=a\\x2Cb\\x3Dc,version=V2.6.0"}));

struct BadCase {
  const char* text;
  const char* mentions;  // what the message must name
};

class ParseBad : public testing::TestWithParam<BadCase> {};

TEST_P(ParseBad, IsRefusedNamingTheKey) {
  CameraSettings camera;
  std::string error;
  EXPECT_FALSE(ParseCamera(GetParam().text, 1, camera, error));
  EXPECT_NE(error.find(GetParam().mentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseBad,
    testing::Values(BadCase{"mac=001A2B3C4D", "'mac'"}, BadCase{"mac=001A2B3C4D0G", "'mac'"},
                    BadCase{"mac=00:1A:2B:3C:4D:01", "'mac'"},
                    BadCase{"ip=10.77.0.256", "'ip'"}, BadCase{"ip=10.77.0", "'ip'"},
                    BadCase{"ip=10.77.0.1.5", "'ip'"}, BadCase{"mask=255.255.255.", "'mask'"},
                    BadCase{"gateway=a.b.c.d", "'gateway'"}, BadCase{"ip=1..2.3", "'ip'"},
                    BadCase{"ip=0010.1.1.1", "'ip'"}, BadCase{"http=65536", "'http'"},
                    BadCase{"http=-1", "'http'"}, BadCase{"audio=", "'audio'"},
                    BadCase{"audio=80x", "'audio'"}, BadCase{"assign=FFFF01", "'assign'"},
                    BadCase{"name=ABCDEFGHIJKLMNOPQ", "'name'"},
                    BadCase{"version=V2.6.0-with-a-long-tail", "'version'"},
                    BadCase{"account=123456789012345678901234567890123", "'account'"},
                    BadCase{"password=a\\b", "'password'"}, BadCase{"name=a\\x0", "'name'"},
                    BadCase{"name=a\\x00b", "'name'"}, BadCase{"colour=red", "'colour'"},
                    BadCase{"http=80,http=81", "'http' given twice"},
                    BadCase{"name", "'name' is not key=value"}));

TEST(FormatCamera, ReadsBackToTheSameSettings) {
  CameraSettings camera = DefaultCamera(7);
  camera.name = "a b,c=d\\e\x01\xC3";
  camera.pppoeAccount = std::string(32, 'x');
  camera.pppoePassword = "p w";
  CameraSettings back;
  std::string error;
  ASSERT_TRUE(ParseCamera(FormatCamera(camera, ','), 99, back, error)) << error;
  EXPECT_EQ(back, camera);
  // The control channel's form carries no raw blank inside a value.
  std::string spaced = FormatCamera(camera, ' ');
  EXPECT_EQ(std::count(spaced.begin(), spaced.end(), ' '), 10);
}

TEST(ParseCameraList, SkipsCommentsAndNumbersOn) {
  std::vector<CameraSettings> cameras = {DefaultCamera(1)};
  std::string error;
  ASSERT_TRUE(ParseCameraList("# lab cameras\r\n\nname=CamA\r\n   \n  # off\nhttp=81\n", 2,
                              cameras, error))
      << error;
  ASSERT_EQ(cameras.size(), 3u);
  EXPECT_EQ(cameras[1].name, "CamA");
  EXPECT_EQ(cameras[1].mac[5], 2);  // defaults of camera 2
  EXPECT_EQ(cameras[2].name, "Camera-3");
  EXPECT_EQ(cameras[2].httpPort, 81);
}

TEST(ParseCameraList, NamesTheBadLine) {
  std::vector<CameraSettings> cameras;
  std::string error;
  EXPECT_FALSE(ParseCameraList("name=A\n\nip=300.1.1.1\n", 1, cameras, error));
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  EXPECT_NE(error.find("'ip'"), std::string::npos) << error;
}

}  // namespace
}  // namespace camsim
