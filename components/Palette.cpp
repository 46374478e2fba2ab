#include "components/Palette.h"

#include "components/GradientCore.h"
#include "components/Targa.h"
#include "components/TextObject.h"

void RegisterComponents() {
  Textobject::Register();
  Targa::Register();
  Gradient::Register();
}
