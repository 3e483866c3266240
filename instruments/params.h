// Gauge parameter strings of the instrument module: the comment-aware key search that the
// engine instruments, the radio altimeter and the registration placard share.
//
//   const char* p = param_has_key(gauge->parameters, '2');   // NULL: no engine 2
#ifndef TARN_INSTRUMENTS_PARAMS_H
#define TARN_INSTRUMENTS_PARAMS_H

#ifdef __cplusplus
extern "C" {
#endif

// The first occurrence of `key` in `text`, or NULL when the key does not occur, or when
// '/', '#' or '\'' stands anywhere before it (each starts a comment; only its first
// occurrence counts). A NULL text has no keys.
const char* param_has_key(const char* text, char key);

#ifdef __cplusplus
}
#endif

#endif
