// TTextObject: its published properties, the style dispatch, the size rule and registration.
// The two styles live in IniStyle.cpp and Durodu.cpp.

#include "components/TextObject.h"

#include <climits>

#include "components/Registry.h"

TTextObject::TTextObject(TComponent* Owner) : TComponent(Owner) {}

TTextObject::~TTextObject() = default;

const std::vector<TPropertyInfo>& TTextObject::PublishedProperties() const {
  using T = TTextObject;
  auto Flag = [](bool T::*Field, const char* Name) {
    return BoolProperty<T>(
        Name, false, [Field](const T& C) { return C.*Field; },
        [Field](T& C, long long V) { C.*Field = V != 0; });
  };
  static const std::vector<TPropertyInfo> Table = {
      EnumProperty<T>(
          "TextType", {"ttIndexed", "ttPlain", "ttStringDepeneded"}, 0,
          [](const T& C) { return C.TextType; },
          [](T& C, long long V) { C.TextType = static_cast<TTextTypes>(V); }),
      EnumProperty<T>(
          "TextStyle", {"DuroduStyle", "IniStyle"}, 0, [](const T& C) { return C.TextStyle; },
          [](T& C, long long V) { C.TextStyle = static_cast<TObjectStyle>(V); }),
      Flag(&T::NoErrors, "NoErrors"),
      Flag(&T::AsciiZ, "AsciiZ"),
      Flag(&T::CRC, "CRC"),
      Flag(&T::SingleLine, "SingleLine"),
      Flag(&T::ClearBounds, "ClearBounds"),
      Flag(&T::LinuxFormat, "LinuxFormat"),
      // The stream default is 0 while construction sets 1: a TextAlign of 0 is not stored
      // and comes back as 1.
      IntProperty<T>(
          "TextAlign", 0, [](const T& C) { return C.TextAlign; },
          [](T& C, long long V) {
            C.TextAlign = static_cast<int>(V < INT_MIN ? INT_MIN : V > INT_MAX ? INT_MAX : V);
          }),
  };
  return Table;
}

int TTextObject::New(TOpenModes Mode, int Reserved) {
  Log.Clear();
  if (TextStyle == IniStyle) return NewINI(Mode, Reserved);
  NewDurodu();
  return 0;
}

std::string TTextObject::Read() { return TextStyle == IniStyle ? ReadINI() : ReadDurodu(); }

void TTextObject::Write(const std::string& Text) {
  if (TextStyle == IniStyle)
    WriteINI(Text);
  else
    WriteDurodu(Text);
}

void TTextObject::Rewrite(const std::string& Text) {
  if (TextStyle == IniStyle)
    WriteINI(Text);  // the INI style cannot replace a block: it appends one
  else
    RewriteDurodu(Text);
}

int TTextObject::GetSize() { return TextStyle == IniStyle ? GetIniSize() : GetDuroduSize(); }

void TTextObject::SetPosition(int Index) {
  if (TextStyle == IniStyle)
    SetIniPos(Index);
  else
    SetDuroduPos(Index);
}

int TTextObject::SizeOfLength(long long Length) const {
  long long Size = Length + (AsciiZ ? 1 : 0);
  // A negative TextAlign counts as 1, as 0 does.
  if (TextAlign > 1) Size = (Size + TextAlign - 1) / TextAlign * TextAlign;
  return Size > INT_MAX ? INT_MAX : static_cast<int>(Size);
}

namespace Textobject {
void Register() { RegisterComponentClass<TTextObject>(PalettePage, "TTextObject"); }
}  // namespace Textobject
