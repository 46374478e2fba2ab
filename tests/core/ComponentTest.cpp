// The component layer: property tables, the palette registry and form descriptions.

#include <gtest/gtest.h>

#include "components/FormDescription.h"
#include "components/Registry.h"
#include "platform/Errors.h"

namespace {

// A component with one property of every kind; its constructor values differ from the
// stream defaults for Size and Caption, as real components do.
class TSample : public TComponent {
 public:
  explicit TSample(TComponent* Owner) : TComponent(Owner) {}
  std::string ClassName() const override { return "TSample"; }
  const std::vector<TPropertyInfo>& PublishedProperties() const override {
    static const std::vector<TPropertyInfo> Table = {
        IntProperty<TSample>(
            "Size", 0, [](const TSample& C) { return C.Size; },
            [](TSample& C, long long V) {
              if (V > 1000000)
                throw EFormatError("a size of " + std::to_string(V) + " is too large");
              C.Size = int(V);
            }),
        BoolProperty<TSample>(
            "Visible", false, [](const TSample& C) { return C.Visible; },
            [](TSample& C, long long V) { C.Visible = V != 0; }),
        EnumProperty<TSample>(
            "Mode", {"mdFirst", "mdSecond", "mdThird"}, 0, [](const TSample& C) { return C.Mode; },
            [](TSample& C, long long V) { C.Mode = int(V); }),
        ColourProperty<TSample>(
            "Colour", 0, [](const TSample& C) { return C.Colour; },
            [](TSample& C, long long V) { C.Colour = std::uint32_t(V); }),
        StringProperty<TSample>(
            "Caption", "", [](const TSample& C) { return C.Caption; },
            [](TSample& C, const std::string& V) { C.Caption = V; }),
    };
    return Table;
  }
  int Size = 100;
  bool Visible = false;
  int Mode = 0;
  std::uint32_t Colour = 0;
  std::string Caption = "Untitled";
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterComponentClass<TSample>(PalettePage, "TSample", Registry); }
  TComponentRegistry Registry;
};

TEST_F(ComponentTest, RegistryListsPagesAndClassesAndCreatesByName) {
  RegisterComponentClass<TSample>("Other", "TOtherSample", Registry);
  RegisterComponentClass<TSample>(PalettePage, "TSample", Registry);  // again: replaces
  EXPECT_EQ(Registry.Pages(), (std::vector<std::string>{"Other", "Veltrane"}));
  EXPECT_EQ(Registry.Classes("Veltrane"), std::vector<std::string>{"TSample"});
  EXPECT_TRUE(Registry.Classes("Nowhere").empty());
  TSample Owner(nullptr);
  std::unique_ptr<TComponent> Made = Registry.Create("TSample", &Owner);
  EXPECT_EQ(Made->ClassName(), "TSample");
  EXPECT_EQ(Made->Owner(), &Owner);
  EXPECT_THROW(Registry.Create("TNothing", nullptr), EFormatError);
}

TEST_F(ComponentTest, WriterSkipsDefaultsAndReaderRestoresEveryKind) {
  TSample Out(nullptr);
  Out.SetName("Sample1");
  Out.Visible = true;
  Out.Mode = 2;
  Out.Colour = 0xFF8040;
  Out.Caption = "say \"hi\"\\\r\n\t\x01 \xE9";
  Out.Size = 0;  // the stream default: not written, so it reads back as the constructor's 100
  std::string Text = WriteComponent(Out);
  EXPECT_EQ(Text,
            "object Sample1: TSample\n"
            "  Visible = true\n"
            "  Mode = mdThird\n"
            "  Colour = 0x00FF8040\n"
            "  Caption = \"say \\\"hi\\\"\\\\\\r\\n\\t\\x01 \xE9\"\n"
            "end\n");

  auto Read = ReadFormDescription(Text, nullptr, Registry);
  ASSERT_EQ(Read.size(), 1u);
  auto& In = static_cast<TSample&>(*Read[0]);
  EXPECT_EQ(In.Name(), "Sample1");
  EXPECT_EQ(In.Size, 100);
  EXPECT_TRUE(In.Visible);
  EXPECT_EQ(In.Mode, 2);
  EXPECT_EQ(In.Colour, 0xFF8040u);
  EXPECT_EQ(In.Caption, Out.Caption);

  // An empty caption equals the stream default too: not written, constructor's value back.
  Out.Caption.clear();
  auto Again = ReadFormDescription(WriteComponent(Out), nullptr, Registry);
  EXPECT_EQ(static_cast<TSample&>(*Again[0]).Caption, "Untitled");
}

TEST_F(ComponentTest, ReaderAcceptsCommentsBlanksAndSeveralObjects) {
  auto Read = ReadFormDescription(
      "// two samples\r\n\r\nobject A: TSample\r\n  Size = -3\r\n  Colour = $ff\r\nend\r\n"
      "object B:TSample\n\tVisible=FALSE\n\tMode = 1\nend",
      nullptr, Registry);
  ASSERT_EQ(Read.size(), 2u);
  EXPECT_EQ(Read[0]->Name(), "A");
  EXPECT_EQ(static_cast<TSample&>(*Read[0]).Size, -3);
  EXPECT_EQ(static_cast<TSample&>(*Read[0]).Colour, 0xFFu);
  EXPECT_EQ(Read[1]->Name(), "B");
  EXPECT_EQ(static_cast<TSample&>(*Read[1]).Mode, 1);
}

// Each bad description must fail with a message that names the line and the culprit.
TEST_F(ComponentTest, BadDescriptionsNameTheLineAndTheCulprit) {
  struct TCase {
    const char* Text;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"object A: TMissing\nend\n", "line 1: unknown class TMissing"},
      {"object A: TSample\n  Speed = 3\nend\n", "line 2: unknown property Speed of class TSample"},
      {"object A: TSample\n\n  Mode = mdFourth\nend\n",
       "line 3: invalid value \"mdFourth\" for property Mode"},
      {"object A: TSample\n  Size = 12x\nend\n", "line 2: invalid value \"12x\""},
      {"object A: TSample\n  Visible = yes\nend\n", "line 2: invalid value \"yes\""},
      {"object A: TSample\n  Colour = 0x123456789\nend\n", "line 2: invalid value"},
      {"object A: TSample\n  Caption = \"open\nend\n", "line 2: invalid value"},
      {"object A: TSample\n  Caption = \"\\x4\"\nend\n", "line 2: invalid value"},
      {"object A: TSample\n  Size\nend\n", "line 2: expected \"Property = value\""},
      {"object A: TSample\n  Size = 1\n", "line 2: object A has no \"end\""},
      {"Size = 1\n", "line 1: expected \"object\""},
      {"end\n", "line 1: \"end\" without an object"},
      {"object A TSample\nend\n", "line 1: expected \"object Name: TClass\""},
      {"object A: TSample\nobject B: TSample\nend\nend\n", "line 2: object inside object A"},
      {"object A: TSample\n  Size = 2000000\nend\n",
       "line 2: property Size: a size of 2000000 is too large"},
  };
  for (const TCase& Case : Cases) {
    try {
      ReadFormDescription(Case.Text, nullptr, Registry);
      ADD_FAILURE() << "no error for:\n" << Case.Text;
    } catch (const EFormatError& Error) {
      EXPECT_NE(std::string(Error.what()).find(Case.Expected), std::string::npos)
          << "message: " << Error.what() << "\nexpected to contain: " << Case.Expected;
    }
  }
}

TEST_F(ComponentTest, ANamelessComponentIsNotWrittenAsADescriptionNobodyCanRead) {
  TSample Nameless(nullptr);
  EXPECT_THROW(WriteComponent(Nameless), EFormatError);
  Nameless.SetName("Sample1");
  EXPECT_EQ(ReadFormDescription(WriteComponent(Nameless), nullptr, Registry).size(), 1u);
}

}  // namespace
