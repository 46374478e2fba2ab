#include "components/Registry.h"

#include <algorithm>

#include "platform/Errors.h"

void TComponentRegistry::RegisterComponent(std::string_view Page, std::string_view ClassName,
                                           TComponentFactory Create) {
  auto Same = [&](const TComponentClass& Entry) { return Entry.ClassName == ClassName; };
  Entries.erase(std::remove_if(Entries.begin(), Entries.end(), Same), Entries.end());
  Entries.push_back({std::string(ClassName), std::string(Page), std::move(Create)});
}

std::vector<std::string> TComponentRegistry::Pages() const {
  std::vector<std::string> Out;
  for (const TComponentClass& Entry : Entries)
    if (std::find(Out.begin(), Out.end(), Entry.Page) == Out.end()) Out.push_back(Entry.Page);
  return Out;
}

std::vector<std::string> TComponentRegistry::Classes(std::string_view Page) const {
  std::vector<std::string> Out;
  for (const TComponentClass& Entry : Entries)
    if (Entry.Page == Page) Out.push_back(Entry.ClassName);
  return Out;
}

const TComponentClass* TComponentRegistry::Find(std::string_view ClassName) const {
  for (const TComponentClass& Entry : Entries)
    if (Entry.ClassName == ClassName) return &Entry;
  return nullptr;
}

std::unique_ptr<TComponent> TComponentRegistry::Create(std::string_view ClassName,
                                                       TComponent* Owner) const {
  const TComponentClass* Class = Find(ClassName);
  if (!Class) throw EFormatError("Class " + std::string(ClassName) + " not found");
  return Class->Create(Owner);
}

TComponentRegistry& ComponentRegistry() {
  static TComponentRegistry Registry;
  return Registry;
}
