// The x87 unit's precision control, for runs that prove the modules do not depend on it.
//
//   std::string why;
//   if (!tarn::set_x87_precision("single", &why)) { ... }   // before the first module call
//   tarn::keep_x87_precision();     // after anything that may reset it (loading a module)
//
// Modes: "default" (leave the unit as the process has it), "single" (24-bit mantissa),
// "double" (53-bit), "extended" (64-bit). A loaded module's start-up code may reset the
// control word, so the host applies the chosen mode again after each load.
#ifndef TARN_HOST_CORE_X87_H
#define TARN_HOST_CORE_X87_H

#include <string>

namespace tarn {

// Sets the mode now and for the rest of the run; false and why for an unknown mode, or
// a mode other than "default" on a machine without an x87 unit.
bool set_x87_precision(const std::string& mode, std::string* why);
// Applies the chosen mode again (nothing for "default").
void keep_x87_precision();
// The unit's precision control now: "single", "double", "extended", or "none" without one.
std::string x87_precision_now();

}  // namespace tarn

#endif
