#include "components/FormDescription.h"

#include <charconv>

#include "platform/Errors.h"

namespace {

[[noreturn]] void Fail(int Line, const std::string& What) {
  throw EFormatError("Form description line " + std::to_string(Line) + ": " + What);
}

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r'; }

std::string_view Trim(std::string_view S) {
  while (!S.empty() && IsBlank(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsBlank(S.back())) S.remove_suffix(1);
  return S;
}

bool IsIdentifier(std::string_view S) {
  if (S.empty()) return false;
  for (std::size_t I = 0; I < S.size(); ++I) {
    char C = S[I];
    bool Letter = (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
    bool Digit = C >= '0' && C <= '9';
    if (!Letter && !(Digit && I > 0)) return false;
  }
  return true;
}

bool EqualNoCase(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I) {
    char X = A[I], Y = B[I];
    if (X >= 'A' && X <= 'Z') X = char(X - 'A' + 'a');
    if (Y >= 'A' && Y <= 'Z') Y = char(Y - 'A' + 'a');
    if (X != Y) return false;
  }
  return true;
}

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

std::string QuoteString(std::string_view S) {
  static const char Digits[] = "0123456789ABCDEF";
  std::string Out = "\"";
  for (char C : S) {
    unsigned char U = static_cast<unsigned char>(C);
    switch (C) {
      case '"':
        Out += "\\\"";
        break;
      case '\\':
        Out += "\\\\";
        break;
      case '\n':
        Out += "\\n";
        break;
      case '\r':
        Out += "\\r";
        break;
      case '\t':
        Out += "\\t";
        break;
      default:
        if (U < 0x20 || U == 0x7F) {
          Out += "\\x";
          Out += Digits[U >> 4];
          Out += Digits[U & 15];
        } else {
          Out += C;
        }
    }
  }
  return Out + "\"";
}

bool UnquoteString(std::string_view Text, std::string& Out) {
  if (Text.size() < 2 || Text.front() != '"' || Text.back() != '"') return false;
  Text = Text.substr(1, Text.size() - 2);
  Out.clear();
  for (std::size_t I = 0; I < Text.size(); ++I) {
    char C = Text[I];
    if (C == '"') return false;  // an unescaped quote inside the string
    if (C != '\\') {
      Out += C;
      continue;
    }
    if (++I >= Text.size()) return false;
    switch (Text[I]) {
      case '"':
        Out += '"';
        break;
      case '\\':
        Out += '\\';
        break;
      case 'n':
        Out += '\n';
        break;
      case 'r':
        Out += '\r';
        break;
      case 't':
        Out += '\t';
        break;
      case 'x': {
        if (I + 2 >= Text.size()) return false;
        int Hi = HexValue(Text[I + 1]);
        int Lo = HexValue(Text[I + 2]);
        if (Hi < 0 || Lo < 0) return false;
        Out += static_cast<char>(Hi * 16 + Lo);
        I += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

const char* KindName(TPropertyKind Kind) {
  switch (Kind) {
    case pkInt:
      return "an integer";
    case pkBool:
      return "true or false";
    case pkEnum:
      return "an enumerator";
    case pkColour:
      return "a hexadecimal colour";
    case pkString:
      return "a quoted string";
  }
  return "a value";
}

}  // namespace

std::string FormatPropertyValue(const TComponent& Component, const TPropertyInfo& Info) {
  if (Info.Kind == pkString) return QuoteString(Info.GetString(Component));
  long long Value = Info.GetOrdinal(Component);
  switch (Info.Kind) {
    case pkBool:
      return Value != 0 ? "true" : "false";
    case pkEnum:
      if (Value >= 0 && static_cast<std::size_t>(Value) < Info.EnumNames.size())
        return Info.EnumNames[static_cast<std::size_t>(Value)];
      return std::to_string(Value);  // a value without a name is kept by its number
    case pkColour: {
      static const char Digits[] = "0123456789ABCDEF";
      unsigned long long U = static_cast<unsigned long long>(Value) & 0xFFFFFFFFULL;
      std::string Out = "0x";
      for (int Shift = 28; Shift >= 0; Shift -= 4) Out += Digits[(U >> Shift) & 15];
      return Out;
    }
    default:
      return std::to_string(Value);
  }
}

bool ParsePropertyValue(const TPropertyInfo& Info, std::string_view Text, long long& Ordinal,
                        std::string& String) {
  auto ParseDecimal = [&](std::string_view S) {
    if (!S.empty() && S.front() == '+') S.remove_prefix(1);
    long long V = 0;
    auto [End, Error] = std::from_chars(S.data(), S.data() + S.size(), V);
    if (S.empty() || Error != std::errc() || End != S.data() + S.size()) return false;
    Ordinal = V;
    return true;
  };
  switch (Info.Kind) {
    case pkInt:
      return ParseDecimal(Text);
    case pkBool:
      if (EqualNoCase(Text, "true"))
        Ordinal = 1;
      else if (EqualNoCase(Text, "false"))
        Ordinal = 0;
      else
        return false;
      return true;
    case pkEnum:
      for (std::size_t I = 0; I < Info.EnumNames.size(); ++I)
        if (Info.EnumNames[I] == Text) {
          Ordinal = static_cast<long long>(I);
          return true;
        }
      // A value written by its number must still be one of the enumerators.
      return ParseDecimal(Text) && Ordinal >= 0 &&
             static_cast<std::size_t>(Ordinal) < Info.EnumNames.size();
    case pkColour: {
      if (Text.size() >= 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X'))
        Text.remove_prefix(2);
      else if (!Text.empty() && Text[0] == '$')
        Text.remove_prefix(1);
      if (Text.empty() || Text.size() > 8) return false;
      unsigned long long V = 0;
      for (char C : Text) {
        int H = HexValue(C);
        if (H < 0) return false;
        V = V * 16 + static_cast<unsigned>(H);
      }
      Ordinal = static_cast<long long>(V);
      return true;
    }
    case pkString:
      return UnquoteString(Text, String);
  }
  return false;
}

std::vector<TObjectDescription> ParseFormDescription(std::string_view Text) {
  std::vector<TObjectDescription> Objects;
  TObjectDescription* Open = nullptr;
  int LineNo = 0;
  std::size_t Pos = 0;
  while (Pos < Text.size()) {
    std::size_t Eol = Text.find('\n', Pos);
    std::string_view Raw =
        Text.substr(Pos, Eol == std::string_view::npos ? std::string_view::npos : Eol - Pos);
    Pos = Eol == std::string_view::npos ? Text.size() : Eol + 1;
    ++LineNo;
    std::string_view Line = Trim(Raw);
    if (Line.empty() || Line.starts_with("//")) continue;

    if (Line.starts_with("object") && (Line.size() == 6 || IsBlank(Line[6]))) {
      if (Open) Fail(LineNo, "object inside object " + Open->Name + " is not supported");
      std::string_view Rest = Trim(Line.substr(6));
      std::size_t Colon = Rest.find(':');
      std::string_view Name = Colon == std::string_view::npos ? Rest : Trim(Rest.substr(0, Colon));
      std::string_view Class = Colon == std::string_view::npos ? "" : Trim(Rest.substr(Colon + 1));
      if (!IsIdentifier(Name) || !IsIdentifier(Class))
        Fail(LineNo, "expected \"object Name: TClass\", found \"" + std::string(Line) + "\"");
      Objects.push_back({std::string(Name), std::string(Class), LineNo, {}});
      Open = &Objects.back();
      continue;
    }
    if (Line == "end") {
      if (!Open) Fail(LineNo, "\"end\" without an object");
      Open = nullptr;
      continue;
    }
    if (!Open) Fail(LineNo, "expected \"object\", found \"" + std::string(Line) + "\"");
    std::size_t Equals = Line.find('=');
    std::string_view Name = Equals == std::string_view::npos ? Line : Trim(Line.substr(0, Equals));
    if (Equals == std::string_view::npos || !IsIdentifier(Name))
      Fail(LineNo, "expected \"Property = value\", found \"" + std::string(Line) + "\"");
    Open->Properties.push_back(
        {std::string(Name), std::string(Trim(Line.substr(Equals + 1))), LineNo});
  }
  if (Open) Fail(LineNo, "object " + Open->Name + " has no \"end\"");
  return Objects;
}

void ApplyObjectDescription(const TObjectDescription& Description, TComponent& Component) {
  for (const TPropertyLine& Stored : Description.Properties) {
    const TPropertyInfo* Info = Component.FindProperty(Stored.Name);
    if (!Info)
      Fail(Stored.Line, "unknown property " + Stored.Name + " of class " + Component.ClassName());
    long long Ordinal = 0;
    std::string String;
    if (!ParsePropertyValue(*Info, Stored.Value, Ordinal, String))
      Fail(Stored.Line, "invalid value \"" + Stored.Value + "\" for property " + Stored.Name +
                            " (expected " + KindName(Info->Kind) + ")");
    try {
      if (Info->Kind == pkString)
        Info->SetString(Component, String);
      else
        Info->SetOrdinal(Component, Ordinal);
    } catch (const std::exception& Error) {
      // A setter that refuses its value (a picture too large, say) is told with the line.
      Fail(Stored.Line, "property " + Stored.Name + ": " + Error.what());
    }
  }
}

std::vector<std::unique_ptr<TComponent>> ReadFormDescription(std::string_view Text,
                                                             TComponent* Owner,
                                                             const TComponentRegistry& Registry) {
  std::vector<std::unique_ptr<TComponent>> Components;
  for (const TObjectDescription& Description : ParseFormDescription(Text)) {
    if (!Registry.Find(Description.ClassName))
      Fail(Description.Line,
           "unknown class " + Description.ClassName + " of object " + Description.Name);
    std::unique_ptr<TComponent> Component = Registry.Create(Description.ClassName, Owner);
    Component->SetName(Description.Name);
    ApplyObjectDescription(Description, *Component);
    Components.push_back(std::move(Component));
  }
  return Components;
}

std::string WriteComponent(const TComponent& Component) {
  // The reader takes only identifiers as names: a nameless component could not be read back.
  if (!IsIdentifier(Component.Name()))
    throw EFormatError("Cannot write a " + Component.ClassName() + " whose name \"" +
                       Component.Name() + "\" is not an identifier");
  std::string Out = "object " + Component.Name() + ": " + Component.ClassName() + "\n";
  for (const TPropertyInfo& Info : Component.PublishedProperties())
    if (!IsDefaultValue(Component, Info))
      Out += "  " + Info.Name + " = " + FormatPropertyValue(Component, Info) + "\n";
  return Out + "end\n";
}

std::string WriteFormDescription(const std::vector<const TComponent*>& Components) {
  std::string Out;
  for (const TComponent* Component : Components) Out += WriteComponent(*Component);
  return Out;
}
