// The pipeline's process-wide state, set up once at program start.
#include "translate/pipeline.h"
#include "translate/token.h"

int indent_depth = 0;
std::string first_field_text;
std::string carried_line;
int field_mode = 0;
