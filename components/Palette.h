#pragma once
// Registers every component of this library on the palette page "Veltrane".

void RegisterComponents();
