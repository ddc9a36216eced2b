// What became of a file to be published under its name.
#ifndef TENAPI_OUTPUT_PUBLISHED_H_
#define TENAPI_OUTPUT_PUBLISHED_H_

namespace tenapi {

// Published under its name; not, as the name was taken; not, for a failure.
enum class Published { kDone, kExists, kFailed };

}  // namespace tenapi

#endif  // TENAPI_OUTPUT_PUBLISHED_H_
