// The loop the file categories and the browsers' cache steps share over the files they listed: a
// row for each file (the prefix, its path, the blanks and "<OK>", or "<FAILED>" where the erase
// failed), then the count and the bytes of the files listed or erased, added once. The erase
// deletes on a few threads, only files that the root of their listing holds; it overwrites them
// first when secure erasing is on, unless `overwrite` is false.
#pragma once

#include <string>
#include <vector>

#include "runtime/files.h"
#include "shared/runcontext.h"

namespace rt {
class FileWalk;
}

namespace categories {

void ListOrEraseFiles(RunContext& run, const std::vector<rt::FoundFile>& files, const rt::WalkRoot& root, bool erase,
                      bool clearAttributes, const std::string& rowPrefix, const char* blanks, bool overwrite = true);
// The same over the files of a walk, taken a part at a time while the walk lists the rest: the
// first rows come at once, and the files are never all held in memory.
void ListOrEraseFiles(RunContext& run, rt::FileWalk& walk, bool erase, bool clearAttributes,
                      const std::string& rowPrefix, const char* blanks);

}  // namespace categories
