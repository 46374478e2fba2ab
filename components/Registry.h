#pragma once
// The component palette: every component unit's Register adds its classes here under a
// page, and the form description reader creates components through it by class name.
//
// Registration is explicit (our libraries are static, so a unit's static initialiser may
// never run): the program calls each unit's Register once at start, e.g.
// Textobject::Register(). Registering a class name again replaces the earlier entry, so
// calling Register twice is harmless.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/Component.h"

// The palette page of our own components.
inline constexpr std::string_view PalettePage = "Veltrane";

// Creates a component of one class with the given owner.
using TComponentFactory = std::function<std::unique_ptr<TComponent>(TComponent* Owner)>;

struct TComponentClass {
  std::string ClassName;  // "TTextObject"
  std::string Page;       // "Veltrane"
  TComponentFactory Create;
};

class TComponentRegistry {
 public:
  // Adds the class to the page (or replaces the class of that name, wherever it was).
  void RegisterComponent(std::string_view Page, std::string_view ClassName,
                         TComponentFactory Create);
  // The pages in the order they were first used.
  std::vector<std::string> Pages() const;
  // The class names on a page, in order of registration; empty for an unknown page.
  std::vector<std::string> Classes(std::string_view Page) const;
  // The class of that name (exact, case-sensitive), or null.
  const TComponentClass* Find(std::string_view ClassName) const;
  // A new component of that class. Throws EFormatError "Class <name> not found" when the
  // class is not registered.
  std::unique_ptr<TComponent> Create(std::string_view ClassName, TComponent* Owner) const;
  void Clear() { Entries.clear(); }

 private:
  std::vector<TComponentClass> Entries;
};

// The program's palette, which the units' Register functions fill.
TComponentRegistry& ComponentRegistry();

// Registers class T (constructed from its owner) on Page of Registry.
template <class T>
void RegisterComponentClass(std::string_view Page, std::string_view ClassName,
                            TComponentRegistry& Registry = ComponentRegistry()) {
  Registry.RegisterComponent(Page, ClassName, [](TComponent* Owner) -> std::unique_ptr<TComponent> {
    return std::make_unique<T>(Owner);
  });
}
