#include "components/Component.h"

const std::vector<TPropertyInfo>& TComponent::PublishedProperties() const {
  static const std::vector<TPropertyInfo> None;
  return None;
}

const TPropertyInfo* TComponent::FindProperty(std::string_view PropertyName) const {
  for (const TPropertyInfo& Info : PublishedProperties())
    if (Info.Name == PropertyName) return &Info;
  return nullptr;
}

bool IsDefaultValue(const TComponent& Component, const TPropertyInfo& Info) {
  if (Info.Kind == pkString) return Info.GetString(Component) == Info.DefaultString;
  long long Value = Info.GetOrdinal(Component);
  // Colours are 32-bit: compare them as such so 0xFFFFFFFF and -1 count as one value.
  if (Info.Kind == pkColour)
    return static_cast<unsigned long>(Value & 0xFFFFFFFFLL) ==
           static_cast<unsigned long>(Info.DefaultOrdinal & 0xFFFFFFFFLL);
  if (Info.Kind == pkBool) return (Value != 0) == (Info.DefaultOrdinal != 0);
  return Value == Info.DefaultOrdinal;
}
