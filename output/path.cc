#include "output/output.h"

namespace tenapi {

// Apart from the writer, so that what needs only the path links only this.
std::string output_path(std::string path) {
  // No backslash: npos + 1 wraps to 0 and the whole path is dropped.
  path.erase(path.rfind('\\') + 1);
  path += "structure.txt";
  return path;
}

}  // namespace tenapi
