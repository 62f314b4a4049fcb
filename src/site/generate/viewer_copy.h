#pragma once

#include <string>
#include <vector>

namespace quorvale {

class GenerationContext;

// Copies the viewer's files from the Application Source Directory into the site
// folder in list order, each unless the copy there is up to date (same size and same
// last-modified time). A missing source folder or file ends the walk, and so does a
// stop request; a copy that fails is reported and counted, and the walk goes on.
void CopyViewerFiles(GenerationContext& context, const std::vector<std::string>& file_names);

}  // namespace quorvale
