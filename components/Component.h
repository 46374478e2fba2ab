#pragma once
// The component layer: a component base with an owner and a name, and the table of
// published properties that each component class declares. Qt-free.
//
// A component class publishes its properties in one static table of TPropertyInfo
// (name, kind, stream default, getter, setter) and returns it from PublishedProperties().
// The form description reader and writer (components/FormDescription.h) and the palette
// registry (components/Registry.h) work only through that table.
//
// Declaring a component:
//
//   class TMyThing : public TComponent {
//   public:
//     explicit TMyThing(TComponent* Owner) : TComponent(Owner) {}
//     std::string ClassName() const override { return "TMyThing"; }
//     const std::vector<TPropertyInfo>& PublishedProperties() const override;
//     int Size = 100;
//   };
//
//   const std::vector<TPropertyInfo>& TMyThing::PublishedProperties() const {
//     static const std::vector<TPropertyInfo> Table = {
//         IntProperty<TMyThing>("Size", 0, [](const TMyThing& C) { return C.Size; },
//                               [](TMyThing& C, long long V) { C.Size = int(V); }),
//     };
//     return Table;
//   }
//
// A class that cannot derive from TComponent (a Qt widget) is streamed through an
// adapter: a small TComponent that holds a pointer to the object, or the object's
// property values, and whose getters and setters forward to it. The registry then
// creates the adapter by the widget's class name.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TComponent;

// How a property's value is written in a form description.
enum TPropertyKind {
  pkInt,     // signed decimal: TextAlign = 1, Width = -3
  pkBool,    // true or false
  pkEnum,    // the enumerator's name from EnumNames: TextStyle = IniStyle
  pkColour,  // 32-bit unsigned, hexadecimal with "0x" and 8 digits: LeftTop = 0x000000FF
  pkString,  // double-quoted, with \" \\ \n \r \t and \xHH escapes
};

// One published property. Ordinal kinds (int, bool, enum, colour) go through GetOrdinal
// and SetOrdinal (bool as 0/1, enum as the enumerator's position in EnumNames, colour as
// its unsigned 32-bit value); strings go through GetString and SetString.
struct TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = pkInt;
  // The stream default: a value equal to it is not written to a form description.
  long long DefaultOrdinal = 0;
  std::string DefaultString;
  // pkEnum only: the name of every value, value k at position k.
  std::vector<std::string> EnumNames;
  std::function<long long(const TComponent&)> GetOrdinal;
  std::function<void(TComponent&, long long)> SetOrdinal;
  std::function<std::string(const TComponent&)> GetString;
  std::function<void(TComponent&, const std::string&)> SetString;
};

// The base of every component: an owner (not owned: the owner does not free it) and a name.
class TComponent {
 public:
  explicit TComponent(TComponent* Owner) : FOwner(Owner) {}
  virtual ~TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  void SetName(std::string Name) { FName = std::move(Name); }

  // The class name under which the registry knows the class ("TTextObject").
  virtual std::string ClassName() const { return "TComponent"; }
  // The published properties, in their order; the base has none.
  virtual const std::vector<TPropertyInfo>& PublishedProperties() const;

  // The property of that name (exact, case-sensitive), or null.
  const TPropertyInfo* FindProperty(std::string_view PropertyName) const;

 private:
  TComponent* FOwner;
  std::string FName;
};

// Typed helpers that build a table entry for a property of class T; the getter and setter
// take T directly (the helper casts the component, which must be a T).
template <class T, class Get, class Set>
TPropertyInfo OrdinalProperty(std::string Name, TPropertyKind Kind, long long Default, Get Getter,
                              Set Setter, std::vector<std::string> EnumNames = {}) {
  TPropertyInfo Info;
  Info.Name = std::move(Name);
  Info.Kind = Kind;
  Info.DefaultOrdinal = Default;
  Info.EnumNames = std::move(EnumNames);
  Info.GetOrdinal = [Getter](const TComponent& C) {
    return static_cast<long long>(Getter(static_cast<const T&>(C)));
  };
  Info.SetOrdinal = [Setter](TComponent& C, long long V) { Setter(static_cast<T&>(C), V); };
  return Info;
}

template <class T, class Get, class Set>
TPropertyInfo IntProperty(std::string Name, long long Default, Get Getter, Set Setter) {
  return OrdinalProperty<T>(std::move(Name), pkInt, Default, Getter, Setter);
}
template <class T, class Get, class Set>
TPropertyInfo BoolProperty(std::string Name, bool Default, Get Getter, Set Setter) {
  return OrdinalProperty<T>(std::move(Name), pkBool, Default ? 1 : 0, Getter, Setter);
}
template <class T, class Get, class Set>
TPropertyInfo EnumProperty(std::string Name, std::vector<std::string> EnumNames, long long Default,
                           Get Getter, Set Setter) {
  return OrdinalProperty<T>(std::move(Name), pkEnum, Default, Getter, Setter, std::move(EnumNames));
}
template <class T, class Get, class Set>
TPropertyInfo ColourProperty(std::string Name, unsigned long Default, Get Getter, Set Setter) {
  return OrdinalProperty<T>(std::move(Name), pkColour, static_cast<long long>(Default), Getter,
                            Setter);
}
template <class T, class Get, class Set>
TPropertyInfo StringProperty(std::string Name, std::string Default, Get Getter, Set Setter) {
  TPropertyInfo Info;
  Info.Name = std::move(Name);
  Info.Kind = pkString;
  Info.DefaultString = std::move(Default);
  Info.GetString = [Getter](const TComponent& C) {
    return std::string(Getter(static_cast<const T&>(C)));
  };
  Info.SetString = [Setter](TComponent& C, const std::string& V) { Setter(static_cast<T&>(C), V); };
  return Info;
}

// True when the component's value of the property equals its stream default.
bool IsDefaultValue(const TComponent& Component, const TPropertyInfo& Info);
