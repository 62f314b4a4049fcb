#pragma once

namespace quorvale {

class GenerationContext;

// Leaves in the Publishing Directory the manifest of what a finished run published: the
// manifest file, when it is new or the site changed much, else the changes file beside
// the manifest it applies to; and the record of both. A stopped run's site is part old,
// part new: it gets none, so nothing takes it for a whole site; the next finished run
// writes it again.
void RecordSiteManifest(GenerationContext& context, bool finished);

}  // namespace quorvale
