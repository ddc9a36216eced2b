#include "output/output.h"

#include "output/file_system.h"
#include "output/new_file.h"

namespace tenapi {

Published write_structure(const std::string& path, const Outline& lines) {
  // Checked first, so that an existing file costs no write at all.
  if (file_exists(path)) return Published::kExists;
  // Written out of sight and named only when complete: a killed process
  // or a power cut never leaves a partial structure.txt.
  NewFile file(path);
  if (file.stream() == nullptr || !render_outline(file.stream(), lines)) return Published::kFailed;
  return file.publish();
}

}  // namespace tenapi
