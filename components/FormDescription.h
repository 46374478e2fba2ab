#pragma once
// Form descriptions: the text in which a form keeps its components and their published
// property values.
//
// Layout, one line each; leading blanks are ignored, blank lines and lines starting with
// "//" are skipped:
//
//   object TextObject: TTextObject      <- opens a component: its Name, then its class
//     TextStyle = IniStyle              <- Property = value, one per line
//     AsciiZ = true
//     TextAlign = 1
//   end                                 <- closes it
//
// Values by kind: int in signed decimal; bool as true or false; enumerations by the
// enumerator's name; colours in hexadecimal ("0x00FF8040", also accepted without "0x");
// strings double-quoted with \" \\ \n \r \t and \xHH escapes (other bytes as they are).
//
// Writing skips every property whose value equals its stream default, so a component
// read back is constructed first (its constructor's values) and then gets only the values
// that differ from the stream default: a property whose constructor value differs from
// its stream default comes back at the constructor value when it was set to the default.
//
// Every error is an EFormatError whose message names the line and the offending word:
// "Form description line 3: unknown property Foo of class TTextObject".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/Component.h"
#include "components/Registry.h"

// One "Property = value" line as it stands in the text.
struct TPropertyLine {
  std::string Name;
  std::string Value;  // the value text, unparsed (a string still in its quotes)
  int Line = 0;       // 1-based
};

// One object block as it stands in the text.
struct TObjectDescription {
  std::string Name;
  std::string ClassName;
  int Line = 0;  // the line of "object"
  std::vector<TPropertyLine> Properties;
};

// Splits a description into its object blocks without creating anything. Throws
// EFormatError on a line that is not "object", "end" or "Property = value" where one is
// expected, and on a block without its "end".
std::vector<TObjectDescription> ParseFormDescription(std::string_view Text);

// Applies a block's stored values to an existing component (its class must publish them).
// Throws EFormatError naming the line on an unknown property or a value of the wrong form.
void ApplyObjectDescription(const TObjectDescription& Description, TComponent& Component);

// Reads a whole description: every block's class is created through Registry with Owner as
// owner, named, and given its stored values. Throws EFormatError on an unknown class (the
// message names it and its line) and for the reasons above; nothing is returned then.
std::vector<std::unique_ptr<TComponent>> ReadFormDescription(
    std::string_view Text, TComponent* Owner,
    const TComponentRegistry& Registry = ComponentRegistry());

// The block of one component: its published properties that differ from their defaults.
std::string WriteComponent(const TComponent& Component);
// The blocks of several components, one after another.
std::string WriteFormDescription(const std::vector<const TComponent*>& Components);

// A property's value as the description writes it, and the reverse. ParsePropertyValue
// returns false when the text is not a value of the property's kind.
std::string FormatPropertyValue(const TComponent& Component, const TPropertyInfo& Info);
bool ParsePropertyValue(const TPropertyInfo& Info, std::string_view Text, long long& Ordinal,
                        std::string& String);
