// Internal state of the token translator, visible to its tests.
#ifndef TENAPI_TRANSLATE_TOKEN_H_
#define TENAPI_TRANSLATE_TOKEN_H_

// What the next field token line does: 0 fills templates by name, zero and
// completion rules; 1 follows a variable block; 2 follows a move block;
// 3 to 6 follow a sum block; 7 and above act as 0.
extern int field_mode;

#endif  // TENAPI_TRANSLATE_TOKEN_H_
