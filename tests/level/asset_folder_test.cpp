#include "storage/asset_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../level/scratch_dir.h"

namespace tollwen {
namespace {

namespace fs = std::filesystem;

struct LookupCase {
  const char* name;
  bool besideProgram;  // "start.bmp" beside the executable
  bool installed;      // "start.bmp" in the installed data folder
  bool expectInstalled;
};

class AssetFolderTest : public ::testing::TestWithParam<LookupCase> {};

// A program in PREFIX/bin/ finds the bitmaps beside itself first, then in the installed data
// folder; with neither, it names the folder beside itself.
TEST_P(AssetFolderTest, LooksBesideTheProgramThenInTheInstalledDataFolder) {
  testing::ScratchDir prefix;
  const std::string bin = prefix.path() + "/bin/";
  const std::string data = prefix.path() + "/share/tollwen-level-editor/";
  fs::create_directories(bin);
  fs::create_directories(data);
  if (GetParam().besideProgram) testing::WriteBytes(bin + "start.bmp", "BM");
  if (GetParam().installed) testing::WriteBytes(data + "start.bmp", "BM");

  EXPECT_EQ(FindAssetFolder(bin), GetParam().expectInstalled ? data : bin);
}

INSTANTIATE_TEST_SUITE_P(Layouts, AssetFolderTest,
                         ::testing::Values(LookupCase{"BuildTree", true, false, false},
                                           LookupCase{"Both", true, true, false},
                                           LookupCase{"Installed", false, true, true},
                                           LookupCase{"Neither", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tollwen
