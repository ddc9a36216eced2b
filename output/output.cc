#include "output/output.h"

#include "output/new_file.h"

namespace tenapi {

Published write_structure(Disk& disk, const std::string& path, const Outline& lines) {
  // Checked first, so that an existing file costs no write at all.
  if (disk.exists(path)) return Published::kExists;
  // Written out of sight and named only when complete: a killed process
  // or a power cut never leaves a partial structure.txt.
  NewFile file(disk, path);
  if (!file.made() || !render_outline(file, lines)) return Published::kFailed;
  return file.publish();
}

}  // namespace tenapi
