// Puts the pipeline's process-wide state back to its start-up values, so
// that each test starts from a fresh process's state.
#ifndef TENAPI_TESTS_TEST_STATE_H_
#define TENAPI_TESTS_TEST_STATE_H_

#include "translate/pipeline.h"
#include "translate/token.h"

// Sets every state item to its value at program start.
inline void reset_pipeline() {
  indent_depth = 0;
  field_mode = 0;
  first_field_text.clear();
  carried_line.clear();
}

#endif  // TENAPI_TESTS_TEST_STATE_H_
