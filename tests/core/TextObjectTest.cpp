// TTextObject: construction, the style dispatch, the size rule, registration and the form
// description of the main window.

#include <gtest/gtest.h>

#include <algorithm>

#include "components/FormDescription.h"
#include "components/Palette.h"
#include "components/Registry.h"
#include "components/TextObject.h"
#include "platform/Errors.h"
#include "platform/Files.h"

namespace {

TEST(TextObject, FreshObjectIsDuroduStyleAndEmpty) {
  TTextObject Object(nullptr);
  EXPECT_EQ(Object.TextStyle, DuroduStyle);
  EXPECT_EQ(Object.TextType, ttIndexed);
  EXPECT_EQ(Object.TextAlign, 1);
  EXPECT_EQ(Object.OpenMode, omRead);
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  EXPECT_EQ(Object.GetSize(), 0);
  EXPECT_EQ(Object.New(omRead, 7), 0);
  EXPECT_EQ(Object.New(omWrite, 0), 0);
}

TEST(TextObject, SizeRule) {
  struct TCase {
    int Length;
    bool AsciiZ;
    int TextAlign;
    int Expected;
  };
  const TCase Cases[] = {
      {3, true, 1, 4},   {3, true, 4, 4},  {4, true, 4, 8},   {0, false, 4, 0},
      {0, false, 0, 0},  {5, false, 0, 5}, {0, true, 8, 8},   {8, false, 8, 8},
      {9, false, 8, 16}, {3, true, -4, 4}, {6, false, -1, 6}, {2, true, 2, 4},
  };
  for (const TCase& Case : Cases) {
    TTextObject Object(nullptr);
    Object.AsciiZ = Case.AsciiZ;
    Object.TextAlign = Case.TextAlign;
    EXPECT_EQ(Object.GetStringLength(std::string(Case.Length, 'x')), Case.Expected)
        << "length " << Case.Length << " AsciiZ " << Case.AsciiZ << " TextAlign " << Case.TextAlign;
  }
}

TEST(TextObject, DispatchFollowsTextStyleAtEveryCall) {
  TTextObject Object(nullptr);
  Object.Write("durodu");
  ASSERT_EQ(Object.Lines.Count(), 4);
  Object.TextStyle = IniStyle;  // never prepared: reads as an empty INI file
  EXPECT_EQ(Object.Read(), "#OUT_OF_TEXT#");
  Object.Write("ignored in the reading state");
  EXPECT_EQ(Object.Lines.Count(), 4);
  Object.TextStyle = DuroduStyle;
  Object.SetPosition(0);
  EXPECT_EQ(Object.Read(), "durodu");
}

TEST(TextObject, RegistersOnTheVeltranePage) {
  Textobject::Register();
  Textobject::Register();
  std::vector<std::string> Classes = ComponentRegistry().Classes("Veltrane");
  EXPECT_EQ(std::count(Classes.begin(), Classes.end(), "TTextObject"), 1);
  std::unique_ptr<TComponent> Made = ComponentRegistry().Create("TTextObject", nullptr);
  EXPECT_NE(dynamic_cast<TTextObject*>(Made.get()), nullptr);
}

TEST(TextObject, FormDescriptionStoresOnlyNonDefaultsAndTextAlignZeroComesBackAsOne) {
  Textobject::Register();
  TTextObject Object(nullptr);
  Object.SetName("Texts");
  EXPECT_EQ(WriteComponent(Object), "object Texts: TTextObject\n  TextAlign = 1\nend\n");

  Object.TextType = ttStringDepeneded;
  Object.TextStyle = IniStyle;
  Object.NoErrors = Object.AsciiZ = Object.CRC = Object.SingleLine = true;
  Object.ClearBounds = Object.LinuxFormat = true;
  Object.TextAlign = 0;
  std::string Text = WriteComponent(Object);
  EXPECT_EQ(Text.find("TextAlign"), std::string::npos) << Text;
  EXPECT_NE(Text.find("TextType = ttStringDepeneded"), std::string::npos) << Text;

  auto Read = ReadFormDescription(Text, nullptr);
  ASSERT_EQ(Read.size(), 1u);
  auto& Back = dynamic_cast<TTextObject&>(*Read[0]);
  EXPECT_EQ(Back.TextType, ttStringDepeneded);
  EXPECT_EQ(Back.TextStyle, IniStyle);
  EXPECT_TRUE(Back.NoErrors && Back.AsciiZ && Back.CRC && Back.SingleLine && Back.ClearBounds &&
              Back.LinuxFormat);
  EXPECT_EQ(Back.TextAlign, 1);
  // Written again, the object now stores the TextAlign of 1 that construction gave it.
  std::string Expected = Text;
  Expected.insert(Expected.size() - 4, "  TextAlign = 1\n");
  EXPECT_EQ(WriteComponent(Back), Expected);
}

TEST(TextObject, UnknownPropertyOfTheTextObjectIsNamed) {
  Textobject::Register();
  try {
    ReadFormDescription("object T: TTextObject\n  TextStyle = IniStyle\n  Alignment = 4\nend\n",
                        nullptr);
    FAIL() << "no error";
  } catch (const EFormatError& Error) {
    EXPECT_STREQ(Error.what(),
                 "Form description line 3: unknown property Alignment of class TTextObject");
  }
}

TEST(TextObject, MainWindowFormDescriptionHoldsItsSettings) {
  RegisterComponents();
  std::string Text = ReadWholeFile(std::string(BRINDLECAST_SOURCE_DIR) + "/app/ui/MainForm.form");
  TTextObject Form(nullptr);  // stands in for the window as owner
  auto Components = ReadFormDescription(Text, &Form);
  TTextObject* Found = nullptr;
  for (auto& Component : Components)
    if (Component->Name() == "TextObject") Found = dynamic_cast<TTextObject*>(Component.get());
  ASSERT_NE(Found, nullptr);
  EXPECT_EQ(Found->Owner(), &Form);
  EXPECT_EQ(Found->TextStyle, IniStyle);
  EXPECT_TRUE(Found->AsciiZ);
  EXPECT_TRUE(Found->ClearBounds);
  EXPECT_TRUE(Found->LinuxFormat);
  EXPECT_EQ(Found->TextAlign, 1);
  EXPECT_EQ(Found->TextType, ttIndexed);
  EXPECT_FALSE(Found->NoErrors || Found->CRC || Found->SingleLine);
}

}  // namespace
