// The registration placard's parameter string, e.g. "tD_EFGH r255 g255 b0 fQuartz": the
// registration after a leading 't' up to the first blank ('_' shows as a blank), then
// options "r", "g", "b" (text colour, 0 to 255 each) and "f" (font, to the end, last).
// Keys are found with param_has_key, so a '/', '#' or '\'' hides what follows it.
//
//   char text[8];
//   registration_text_from(gauge->parameters, text, sizeof text, 7);      // "D EFGH"
//   COLORREF color = 0xffffff; char font[32] = "Arial";
//   registration_apply_options(gauge->parameters, &color, font, sizeof font);  // 0x00ffff, "Quartz"
#ifndef TARN_INSTRUMENTS_REGISTRATION_PARAMS_H
#define TARN_INSTRUMENTS_REGISTRATION_PARAMS_H

#include <stddef.h>

#include "platform/win32.h"

#ifdef __cplusplus
extern "C" {
#endif

// The placard's text without parameters or without a leading 't'.
#define REGISTRATION_DEFAULT_TEXT "N700MS"

// Writes the placard text for `params` (NULL counts as empty) into `out`: at most
// `max_chars` characters and never more than `out_size` bytes with the terminating zero.
void registration_text_from(const char* params, char* out, size_t out_size, size_t max_chars);

// Applies the options of `params` to a text colour and a font face. Without a first
// blank nothing changes and the result is FALSE. An "f" option copies the rest of the
// string into `font` (cut to `font_size` bytes with the terminating zero) and ends the
// options there; each of "r", "g", "b" found before it replaces its byte of `*color`,
// a number beyond 0..255 (negative ones too) counting as 255.
BOOL registration_apply_options(const char* params, COLORREF* color, char* font, size_t font_size);

#ifdef __cplusplus
}
#endif

#endif
