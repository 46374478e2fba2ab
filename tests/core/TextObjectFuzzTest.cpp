// Random files for the INI preload and for LoadText with Durodu reads: nothing may crash or
// read outside a buffer (the sanitizer build proves it), and every INI read must equal what a
// plain first-occurrence search from the start of the text gives. Fixed seed, fixed counts.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "components/TextObject.h"
#include "include/SharedConstants.h"
#include "platform/Files.h"
#include "tests/core/TestSupport.h"

namespace {

class TextObjectFuzz : public ::testing::Test {
 protected:
  int Pick(int Count) { return std::uniform_int_distribution<int>(0, Count - 1)(Random); }

  // Mostly small block numbers (repeated, in and out of order), sometimes far-off ones.
  unsigned RandomNumber() {
    return Pick(5) == 0 ? 0xFFFFFF00u + static_cast<unsigned>(Pick(3))
                        : static_cast<unsigned>(Pick(6));
  }

  // Bytes built from pieces that matter to the reader, mixed with arbitrary bytes.
  std::string RandomIniBytes() {
    std::string Bytes;
    for (int Pieces = Pick(40); Pieces > 0; --Pieces) {
      switch (Pick(10)) {
        case 0:
          Bytes += "[0x";
          break;
        case 1:
          Bytes += "[0x" + IntToHex(RandomNumber(), 8) + "]";
          break;
        case 2:
          Bytes += "[0x" + IntToHex(RandomNumber(), 8) + "]\r\n";
          break;
        case 3:
          Bytes += "\r\n";
          break;
        case 4:
          Bytes += Pick(2) ? "\n" : "\r";
          break;
        case 5:
          Bytes += std::string(1, '\0');
          break;
        case 6:
          Bytes += "0123456789abcdefABCDEF-+ "[Pick(25)];
          break;
        case 7:
          Bytes += "]";
          break;
        default:
          Bytes += static_cast<char>(Pick(256));
          break;
      }
    }
    return Bytes;
  }

  std::string RandomDuroduBytes() {
    static const char* const Ends[] = {"\r\n", "\n", "\r"};
    const std::string Pieces[] = {
        std::string(MarkSeparator), "#H#E#A#D#E#R#0#1#", std::string(MarkEnd), "text", "",
        std::string(1, '\0')};
    std::string Bytes;
    for (int Lines = Pick(30); Lines > 0; --Lines) {
      if (Pick(8) == 0)
        Bytes += static_cast<char>(Pick(256));
      else
        Bytes += Pieces[Pick(6)];
      if (Pick(6)) Bytes += Ends[Pick(3)];
    }
    return Bytes;
  }

  std::mt19937 Random{20240611u};
  TTempDir Temp;
  std::string Dir = Temp.Path();
};

// The block text by the plain rule: first occurrence of Key from the start of the searched
// text, the next key from there, the line end trimmed, the result cut at a zero byte.
std::string PlainBlockText(const std::string& Buffer, const std::string& Key,
                           const std::string& Next) {
  std::string_view Searched(Buffer.data(), std::min(Buffer.find('\0'), Buffer.size()));
  std::size_t At = Searched.find(Key);
  if (At == std::string_view::npos) return std::string(MarkNoText);
  std::size_t End = Searched.find(Next, At);
  if (End == std::string_view::npos) End = Buffer.size();
  long long Start = static_cast<long long>(At + Key.size() + 2);
  long long Stop = static_cast<long long>(End);
  if (Stop - Start >= 2) {
    if (Buffer[static_cast<std::size_t>(Stop - 2)] == '\r')
      Stop -= 2;
    else if (Buffer[static_cast<std::size_t>(Stop - 1)] == '\n')
      Stop -= 1;
  }
  if (Stop < Start) Stop = Start;
  if (Start >= static_cast<long long>(Buffer.size())) return {};
  std::string Text =
      Buffer.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(Stop - Start));
  return Text.substr(0, Text.find('\0'));
}

TEST_F(TextObjectFuzz, IniPreloadAndReadsMatchThePlainLookup) {
  const std::string Path = Dir + "/fuzz.ini";
  for (int Round = 0; Round < 400; ++Round) {
    std::string Bytes = RandomIniBytes();
    WriteWholeFile(Path, Bytes);
    TTextObject Object(nullptr);
    Object.TextStyle = IniStyle;
    Object.FileName = Path;
    Object.NoErrors = Pick(2);
    Object.SingleLine = Pick(4) == 0;
    Object.LinuxFormat = Pick(2);
    Object.AsciiZ = Pick(2);
    Object.TextAlign = std::vector<int>{-3, 0, 1, 4}[static_cast<std::size_t>(Pick(4))];
    int Result = Object.New(omRead, 0);
    const std::string Label =
        "round " + std::to_string(Round) + ", file " + ::testing::PrintToString(Bytes);
    ASSERT_EQ(Result, static_cast<int>(Object.Status)) << Label;

    if (Object.Status != 0) {
      EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#") << Label;
      EXPECT_EQ(Object.GetCurrentLength(), -1) << Label;
      EXPECT_EQ(Object.GetIniSize(), -1) << Label;
      continue;
    }
    ASSERT_EQ(Object.Lines.Count(), Object.BlockCount + 1) << Label;
    long long Total = 0;
    for (int K = 0; K < Object.BlockCount; ++K) {
      std::string Plain =
          PlainBlockText(Bytes, "[" + Object.Lines[static_cast<std::size_t>(K)] + "]",
                         "[" + Object.Lines[static_cast<std::size_t>(K) + 1] + "]");
      bool Missing = Plain == MarkNoText;
      std::string Expected = Missing ? Plain : Object.MakeString(Plain);
      int Length = Object.GetCurrentLength();
      EXPECT_EQ(Length, Missing ? -1 : Object.GetStringLength(Expected))
          << Label << ", block " << K;
      EXPECT_EQ(Object.Read(), Expected) << Label << ", block " << K;
      Total += Object.GetStringLength(Missing ? "" : Expected);
    }
    EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#") << Label;
    EXPECT_EQ(Object.GetIniSize(), Total) << Label;
    for (int Seek = 0; Seek < 5; ++Seek) {
      Object.SetIniPos(Pick(Object.BlockCount + 3) - 1);
      Object.GetCurrentLength();
      Object.Read();
    }
  }
}

TEST_F(TextObjectFuzz, LoadTextAndDuroduOperationsStayInsideLines) {
  const std::string Path = Dir + "/fuzz.txt";
  for (int Round = 0; Round < 300; ++Round) {
    WriteWholeFile(Path, RandomDuroduBytes());
    TTextObject Object(nullptr);
    Object.TextStyle = Pick(4) == 0 ? IniStyle : DuroduStyle;
    Object.FileName = Dir + "/untouched.ini";
    Object.SingleLine = Pick(3) == 0;
    Object.LinuxFormat = Pick(2);
    Object.AsciiZ = Pick(2);
    Object.CRC = Pick(2);
    Object.TextType = static_cast<TTextTypes>(Pick(3));
    ASSERT_TRUE(Object.LoadText(Path));
    Object.TextStyle = DuroduStyle;
    for (int Step = 0; Step < 40; ++Step) {
      switch (Pick(6)) {
        case 0:
        case 1:
          Object.Read();
          break;
        case 2:
          Object.Write(Pick(2) ? "w" : "a\r\nb");
          break;
        case 3:
          Object.Rewrite("r");
          break;
        case 4:
          Object.SetPosition(Pick(12) - 2);
          break;
        default:
          EXPECT_GE(Object.GetSize(), 0);
          break;
      }
      ASSERT_GE(Object.LinePos, 0) << "round " << Round << ", step " << Step;
      ASSERT_LE(Object.LinePos, Object.Lines.Count()) << "round " << Round << ", step " << Step;
    }
    EXPECT_FALSE(FileExists(Object.FileName));
  }
}

}  // namespace
