#pragma once

// A generation run: GenerateAlbums and what it takes and gives.
#include "generate/generation_job.h"
