// The directory scan on a small tree made in a temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/core/DirScan.h"
#include "app/core/FilterText.h"

namespace fs = std::filesystem;

namespace {

using TPaths = std::vector<std::string>;

class DirScanTest : public ::testing::Test {
 protected:
  // Top holds Root (the scanned tree) and Outside (reached from Root only by a link).
  //   Root/.hidden.irl  .secret/c.irl  B.IRL  a.irl  note.txt  x.log  y.lst  z.itm
  //   Root/loop -> Root               (a cycle)
  //   Root/maps.irl/e.irl             (a directory whose own name matches)
  //   Root/out -> Outside, Outside/f.irl
  //   Root/sub/b.irl  sub/deeper/d.irl  sub/deeper/back -> ../..  sub/again -> ../maps.irl
  void SetUp() override {
    char Template[] = "/tmp/dirscan-XXXXXX";
    ASSERT_NE(::mkdtemp(Template), nullptr);
    Top = Template;
    Root = Top + "/root";
    for (const char* Dir : {"root/.secret", "root/maps.irl", "root/sub/deeper", "outside"})
      fs::create_directories(Top + "/" + Dir);
    for (const char* File :
         {"root/.hidden.irl", "root/.secret/c.irl", "root/B.IRL", "root/a.irl", "root/note.txt",
          "root/x.log", "root/y.lst", "root/z.itm", "root/maps.irl/e.irl", "root/sub/b.irl",
          "root/sub/deeper/d.irl", "outside/f.irl"})
      Touch(Top + "/" + File);
    fs::create_directory_symlink(Root, Root + "/loop");
    fs::create_directory_symlink(Top + "/outside", Root + "/out");
    fs::create_directory_symlink("../..", Root + "/sub/deeper/back");
    fs::create_directory_symlink("../maps.irl", Root + "/sub/again");
  }
  void TearDown() override {
    std::error_code Ignored;
    fs::permissions(Root + "/locked.irl", fs::perms::owner_all, Ignored);
    fs::remove_all(Top, Ignored);
  }
  static void Touch(const std::string& Path) { std::ofstream(Path) << "x"; }
  TPaths Scan(const std::string& From, const std::string& Mask) {
    TPaths Found;
    ScanDirectory(From, Mask, Found);
    return Found;
  }
  TPaths Under(const TPaths& Relative) {
    TPaths Out;
    for (const std::string& Path : Relative) Out.push_back(Root + "/" + Path);
    return Out;
  }

  std::string Top, Root;
};

// The whole order at once: every subdirectory (in byte order of names, depth first) before
// the directory's own matches; hidden directory skipped but hidden file listed; a matching
// directory listed and entered; links entered once, cycles ended; upper-case names matched.
TEST_F(DirScanTest, ListsSubdirectoriesFirstInNameOrder) {
  TPaths Expected = Under({"maps.irl/e.irl", "out/f.irl", "sub/deeper/d.irl", "sub/b.irl",
                           ".hidden.irl", "B.IRL", "a.irl", "maps.irl"});
  EXPECT_EQ(Scan(Root, "*.irl"), Expected);
  // Trailing slashes on the root still join with exactly one "/".
  EXPECT_EQ(Scan(Root + "//", "*.irl"), Expected);
}

TEST_F(DirScanTest, MatchesWithoutRegardToCase) {
  EXPECT_EQ(Scan(Root, "?.IRL"), Under({"maps.irl/e.irl", "out/f.irl", "sub/deeper/d.irl",
                                        "sub/b.irl", "B.IRL", "a.irl"}));
  EXPECT_EQ(Scan(Root, "NOTE.*"), Under({"note.txt"}));
}

TEST_F(DirScanTest, EachTypeGathersItsPatternAndGivesItsCode) {
  struct TCase {
    int Choice;
    TSourceFormat Format;
    TPaths Paths;
  };
  const std::vector<TCase> Cases = {
      {0, sfImageList, {}},  // checked in full above; only the code here
      {1, sfItemComparator, {"z.itm"}},
      {2, sfProjectList, {"y.lst"}},
      {3, sfLog, {"x.log"}},
  };
  for (const TCase& Case : Cases) {
    TGatherResult Result = GatherSources(Root, Case.Choice);
    EXPECT_EQ(Result.Format, Case.Format) << "type " << Case.Choice;
    if (Case.Choice == 0)
      EXPECT_EQ(Result.Paths.size(), 8u);
    else
      EXPECT_EQ(Result.Paths, Under(Case.Paths)) << "type " << Case.Choice;
  }
}

TEST_F(DirScanTest, MissingOrUnreadableRootYieldsNothingButKeepsTheFormat) {
  for (const std::string& Bad : {Root + "/nothing-here", Root + "/a.irl", std::string()}) {
    TGatherResult Result = GatherDirectory(Bad, "*.irl", 3);
    EXPECT_TRUE(Result.Paths.empty()) << Bad;
    EXPECT_EQ(Result.Format, sfLog) << Bad;
  }
  EXPECT_EQ(GatherDirectory(Root, "*.irl", 7).Format, sfNone);
}

TEST_F(DirScanTest, UnreadableSubdirectoryIsListedButNotEntered) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
  fs::create_directory(Root + "/locked.irl");
  Touch(Root + "/locked.irl/inside.irl");
  fs::permissions(Root + "/locked.irl", fs::perms::none);
  TPaths Found = Scan(Root, "*.irl");
  EXPECT_EQ(std::count(Found.begin(), Found.end(), Root + "/locked.irl"), 1);
  EXPECT_EQ(std::count(Found.begin(), Found.end(), Root + "/locked.irl/inside.irl"), 0);
}

TEST_F(DirScanTest, DeepTreeAndProgress) {
  // 1,000 levels deep (the walk keeps its own stack), still short of PATH_MAX.
  std::string Deep = Root + "/sub";
  for (int Level = 0; Level < 1000; ++Level) {
    Deep += "/d";
    ASSERT_EQ(::mkdir(Deep.c_str(), 0755), 0) << "level " << Level;
  }
  Touch(Deep + "/bottom.irl");
  for (int I = 0; I < 300; ++I) Touch(Root + "/sub/many" + std::to_string(I) + ".irl");

  std::vector<int> Counts;
  TPaths Found;
  ScanDirectory(Root, "*.irl", Found, [&](int Count) { Counts.push_back(Count); });
  ASSERT_GE(Found.size(), 3u);
  EXPECT_EQ(Found[2], Deep + "/bottom.irl");  // after maps.irl/e.irl and out/f.irl
  EXPECT_EQ(Found.size(), 8u + 301u);
  // Entries read: about 1,320, so the caller hears of them at least every 256.
  EXPECT_GE(Counts.size(), 5u);
  EXPECT_TRUE(std::is_sorted(Counts.begin(), Counts.end()));
  EXPECT_LE(Counts.back(), static_cast<int>(Found.size()));
}

TEST(FilterText, SplitsTheAddDialogsFilter) {
  std::vector<TFilterPair> Pairs = SplitFilterPairs(SourceFilter);
  ASSERT_EQ(Pairs.size(), 4u);
  const char* Descriptions[] = {"Image Resource Lists (*.irl)", "Item Comparator (*.itm)",
                                "Project list files (*.lst)", "Log files (*.log)"};
  const char* Patterns[] = {"*.irl", "*.itm", "*.lst", "*.log"};
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(Pairs[I].Description, Descriptions[I]) << "pair " << I;
    EXPECT_EQ(Pairs[I].Pattern, Patterns[I]) << "pair " << I;
    EXPECT_EQ(FilterPattern(SourceFilter, I), Patterns[I]) << "pair " << I;
  }
  EXPECT_EQ(FilterPattern(SourceFilter, 4), "");
  EXPECT_EQ(FilterPattern(SourceFilter, -1), "");
}

TEST(FilterText, OddTexts) {
  struct TCase {
    const char* Text;
    std::vector<std::string> Flat;  // description, pattern, description, pattern...
  };
  const std::vector<TCase> Cases = {
      {"", {}},
      {"Only a description", {"Only a description", ""}},
      {"A|*.a|B", {"A", "*.a", "B", ""}},
      {"A|*.a|", {"A", "*.a"}},
      {"|*.a||*.b", {"", "*.a", "", "*.b"}},
  };
  for (const TCase& Case : Cases) {
    std::vector<std::string> Flat;
    for (const TFilterPair& Pair : SplitFilterPairs(Case.Text)) {
      Flat.push_back(Pair.Description);
      Flat.push_back(Pair.Pattern);
    }
    EXPECT_EQ(Flat, Case.Flat) << "\"" << Case.Text << "\"";
  }
}

TEST(TypeChoiceFromName, NamesTheFourTypes) {
  EXPECT_EQ(TypeChoiceFromName("irl"), 0);
  EXPECT_EQ(TypeChoiceFromName("ITM"), 1);
  EXPECT_EQ(TypeChoiceFromName("lst"), 2);
  EXPECT_EQ(TypeChoiceFromName("log"), 3);
  for (const char* Bad : {"", "i?l", "*", "irl2", "bmp"})
    EXPECT_EQ(TypeChoiceFromName(Bad), -1) << Bad;
}

}  // namespace
