#include <gtest/gtest.h>

#include "app/core/SourceList.h"
#include "platform/Errors.h"
#include "tests/core/TestSupport.h"

namespace {
const TListButtons AllOn{true, true, true, true};
const TListButtons AllOff{};

TAddChoice Choice(int Filter, std::vector<std::string> Files) { return {Filter, std::move(Files)}; }

void Add(TSourceList& List, const TAddChoice* C) {
  List.BeginAdd();
  List.FinishAdd(C);
}

TEST(SourceList, AddingAnotherFormatEmptiesTheListAndDuplicatesStay) {
  TSourceList List;
  EXPECT_EQ(List.SourceFormat, sfNone);
  EXPECT_EQ(List.Buttons, AllOff);
  TAddChoice Irl = Choice(1, {"/g/a.irl", "/g/b.irl"});
  Add(List, &Irl);
  Add(List, &Irl);
  EXPECT_EQ(List.Entries.size(), 4u);
  EXPECT_EQ(List.SourceFormat, sfImageList);
  EXPECT_EQ(List.Buttons, AllOn);
  TAddChoice Itm = Choice(2, {"/g/c.itm"});
  Add(List, &Itm);
  EXPECT_EQ(List.Entries, std::vector<std::string>{"/g/c.itm"});
  EXPECT_EQ(List.SourceFormat, sfItemComparator);
}

TEST(SourceList, CancelledAddLeavesTheListButDisablesUntilEntriesExist) {
  TSourceList List;
  Add(List, nullptr);
  EXPECT_EQ(List.Buttons, AllOff);
  EXPECT_EQ(List.SourceFormat, sfNone);
  TAddChoice Irl = Choice(1, {"/g/a.irl"});
  Add(List, &Irl);
  Add(List, nullptr);
  EXPECT_EQ(List.Entries.size(), 1u);
  EXPECT_EQ(List.Buttons, AllOn);
}

TEST(SourceList, ProjectListRoundTripAndFirstFileOnly) {
  TTempDir Dir;
  TSourceList List;
  TAddChoice Logs = Choice(4, {"/out/a.log", "/out/b.log", "/out/a.log"});
  Add(List, &Logs);
  List.SaveList(Dir.Path("p.lst"));
  EXPECT_EQ(ReadFile(Dir.Path("p.lst")), "/out/a.log\r\n/out/b.log\r\n/out/a.log\r\n");
  WriteFile(Dir.Path("q.lst"), "/other.log");  // last line without a line end
  TAddChoice Lists = Choice(3, {Dir.Path("p.lst"), Dir.Path("q.lst")});
  Add(List, &Lists);
  EXPECT_EQ(List.SourceFormat, sfProjectList);
  EXPECT_EQ(List.Entries, (std::vector<std::string>{"/out/a.log", "/out/b.log", "/out/a.log"}));
  // Adding a project list again replaces, even in the same format.
  TAddChoice Other = Choice(3, {Dir.Path("q.lst")});
  Add(List, &Other);
  EXPECT_EQ(List.Entries, std::vector<std::string>{"/other.log"});
}

TEST(SourceList, EmptyProjectListLeavesButtonsOffAndUnreadableOneFails) {
  TTempDir Dir;
  WriteFile(Dir.Path("empty.lst"), "");
  TSourceList List;
  TAddChoice Empty = Choice(3, {Dir.Path("empty.lst")});
  Add(List, &Empty);
  EXPECT_TRUE(List.Entries.empty());
  EXPECT_EQ(List.Buttons, AllOff);
  TAddChoice Irl = Choice(1, {"/g/a.irl"});
  Add(List, &Irl);
  TAddChoice Missing = Choice(3, {Dir.Path("missing.lst")});
  List.BeginAdd();
  EXPECT_THROW(List.FinishAdd(&Missing), EFOpenError);
  EXPECT_TRUE(List.Entries.empty());
  EXPECT_EQ(List.SourceFormat, sfProjectList);
  EXPECT_FALSE(List.Buttons.Process);
  EXPECT_TRUE(List.Buttons.ClearAll);
  // A failed read of a project list keeps a list that already holds project-list entries.
  WriteFile(Dir.Path("good.lst"), "/out/a.log\n");
  TAddChoice Good = Choice(3, {Dir.Path("good.lst")});
  Add(List, &Good);
  List.BeginAdd();
  EXPECT_THROW(List.FinishAdd(&Missing), EFOpenError);
  EXPECT_EQ(List.Entries, std::vector<std::string>{"/out/a.log"});
}

TEST(SourceList, AddAfterAGatheringStartsEmptyEvenWhenCancelled) {
  TSourceList List;
  List.BeginGather();
  std::vector<std::string> Found{"/g/sub/b.irl", "/g/a.irl"};
  List.FinishGather(&Found, sfImageList);
  EXPECT_TRUE(List.ListGathered);
  Add(List, nullptr);
  EXPECT_TRUE(List.Entries.empty());
  EXPECT_FALSE(List.ListGathered);
}

TEST(SourceList, RemoveKeepsOrderAndMovesTheFocusToTheLastEntry) {
  TSourceList List;
  TAddChoice Five = Choice(1, {"1", "2", "3", "4", "5"});
  Add(List, &Five);
  List.Remove({1, 2, 4});
  EXPECT_EQ(List.Entries, (std::vector<std::string>{"1", "4"}));
  EXPECT_EQ(List.Current, 1);
  List.Current = 0;
  List.Remove({});
  EXPECT_EQ(List.Entries.size(), 2u);
  EXPECT_EQ(List.Current, 1);
  List.Remove({0, 1});
  EXPECT_EQ(List.Current, -1);
  EXPECT_EQ(List.Buttons, AllOff);
}

TEST(SourceList, ClearAllKeepsFormatAndGatheredFlag) {
  TSourceList List;
  std::vector<std::string> Found{"/g/a.itm"};
  List.BeginGather();
  List.FinishGather(&Found, sfItemComparator);
  List.ClearAll();
  EXPECT_TRUE(List.Entries.empty());
  EXPECT_EQ(List.Buttons, AllOff);
  EXPECT_EQ(List.SourceFormat, sfItemComparator);
  EXPECT_TRUE(List.ListGathered);
}
}  // namespace
