// What screen readers are told about the window beyond what Qt tells them.
#ifndef LLAVE_ACCESSIBILITY_H
#define LLAVE_ACCESSIBILITY_H

// Installs Llave's accessibility interfaces; call once, before the window is
// made. The window shows as a window named by its caption (Qt shows a
// top-level plain widget as a panel), and the lists keep their names
// ("Sexo", "Entidad de nacimiento") whatever entry is chosen (Qt on Linux
// names a list by its current entry).
void installAccessibility();

#endif // LLAVE_ACCESSIBILITY_H
